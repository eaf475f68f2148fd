// The texts of the boxes that end a session: the fixed main texts, and the detail built from how
// the session ended.
#pragma once

#include "link/SessionTypes.h"

#include <QString>

QString CompleteText(SessionMode mode); // "Read Complete!" / "Write Complete!"
QString FailureText(SessionMode mode);  // "Read Failure!" / "Write Failure!"
QString ModelErrorText(const SessionOutcome& outcome);
inline constexpr char CannotOpenText[] = "Cannot Open Communication Port.";

// What went wrong, where, and what to check next; for the failure boxes' details.
QString OutcomeDetail(const SessionOutcome& outcome);
