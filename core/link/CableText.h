// The cable in words, for the detail of a failure: what it is and, where its latency timer holds
// replies back, what to do about it.
#pragma once

#include "settings/CableInfo.h"

#include <QString>

// "The cable is FTDI FT232R USB UART (USB 0403:6001, driver ftdi_sio)." and the latency timer's
// advice; empty when the system knows nothing of a USB cable behind the port.
QString CableDetail(const CableInfo& cable, const QString& devicePath);
