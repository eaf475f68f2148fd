// The texts of the boxes that end a session: the fixed main texts, and the detail built from how
// the session ended.
#pragma once

#include "link/SessionTypes.h"

#include <QString>

QString CompleteText(SessionMode mode); // "Read Complete!" / "Write Complete!"
QString FailureText(SessionMode mode);  // "Read Failure!" / "Write Failure!"
QString ModelErrorText(const SessionOutcome& outcome);
inline constexpr char CannotOpenText[] = "Cannot Open Communication Port.";

// What went wrong, where, and what to check next; for the failure boxes' details: the port, then
// OutcomeWhat. A port that cannot be opened is named by its reason alone.
QString OutcomeDetail(const SessionOutcome& outcome);
// The same without the port, for a line that names the port already.
QString OutcomeWhat(const SessionOutcome& outcome);
// The cause and what to do, in a sentence or two, for the line under a failure box's fixed text; the
// details keep the rest. Empty for a completed session.
QString OutcomeSummary(const SessionOutcome& outcome);
// Whether the session failed with nothing at all on the line: no byte came back on any try of its
// first frame, as when the port has no cable, or no radio, behind it.
bool NothingOnLine(const SessionOutcome& outcome);
// "COM5 (/dev/ttyUSB0)", "COM5", or the device alone when no COM number names it.
QString OutcomePort(const SessionOutcome& outcome);
