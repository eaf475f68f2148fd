#include "window/WindowTrace.h"

Q_LOGGING_CATEGORY(WindowTrace, "tangelo.window", QtInfoMsg)
