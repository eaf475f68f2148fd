// The window's own steps after a session, for support and the benchmark, in the manner of the link's
// trace: QT_LOGGING_RULES="tangelo.window.debug=true". Off by default; to standard error only.
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(WindowTrace)
