// A cable that gives no port, in words: what it is, what holds it back, and what the dealer types or
// does about it. The same sentence in the command line and in the window.
#pragma once

#include "ports/PortlessCables.h"

#include <QString>

// One or two sentences; the device's own names escaped.
QString PortlessCableSentence(const PortlessCable& cable);
// Each cable's sentence, one per line; empty for none.
QString PortlessCablesText(const QList<PortlessCable>& cables);
// The reason as programs read it: brltty, usbfs, no_driver, other_driver.
QString PortlessReasonKey(PortlessReason reason);
