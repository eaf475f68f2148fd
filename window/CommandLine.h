// The program's command line: --help and --version print and end the program; anything else is an
// error. Handled before the window's application object exists, so neither a window nor a file is
// touched; a core application object with the program's translations gives the texts their language.
#pragma once

#include <QStringList>

#include <optional>

// `arguments` as main receives them, the program's name first. Prints what the arguments ask for
// and returns the exit code when the program is to end there; nothing when the window is to start.
std::optional<int> HandleCommandLine(const QStringList& arguments);
