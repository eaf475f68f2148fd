// The cable in words: what it is and, where its latency timer holds replies back, what to do about
// it. The timer slows every reply, but by far less than a reply wait: it belongs to a report on the
// link and to replies that came late, never to the cause of a failure.
#pragma once

#include "ports/CableInfo.h"

#include <QString>

// "The cable is FTDI FT232R USB UART (USB 0403:6001, driver ftdi_sio)."; empty when the system knows
// nothing of a USB cable behind the port.
QString CableSentence(const CableInfo& cable);
// CableSentence and the latency timer's advice (LatencyTimerAdvice) after it.
QString CableDetail(const CableInfo& cable, const QString& devicePath);
