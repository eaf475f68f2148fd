// What the program's --help and --version need of the system: where their text can go, and where the
// program keeps its settings, which the help names.
#pragma once

#include <QCoreApplication>
#include <QString>

// The translation context of the command line's texts, in each file that has some.
class CommandLineText
{
    Q_DECLARE_TR_FUNCTIONS(CommandLineText)
};

// A Windows program with a window has no console of its own: its text goes to the console of the
// command prompt that started it, unless its output is redirected. Elsewhere nothing is needed.
void UseStartingConsole();

// The help's paragraph on the settings file and the trace.
QString SettingsHelpText();
