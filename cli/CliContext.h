// What a run of tangelo-cli works with: its streams, the user's answers, and the machine's settings,
// code page and link timings. The program fills it from the process; tests fill it with their own.
#pragma once

#include "data/AnsiCodePage.h"
#include "link/SessionTypes.h"
#include "settings/Settings.h"

#include <QString>
#include <QTextStream>

#include <chrono>
#include <functional>
#include <optional>

class StatusLine;

// The exit codes, as the help and the manual page list them.
enum class ExitCode : int {
    Done = 0,
    RadioFailure = 1, // the radio did not answer, or stopped answering
    Usage = 2,        // the command line or a file named on it is wrong
    CannotOpen = 3,   // the serial port cannot be opened
    ModelError = 4,   // the radio is not of the type given (or of the backup file's type)
    Refused = 5,      // the write was refused; nothing was written
};

struct CliContext
{
    QTextStream* out = nullptr; // records and changes
    QTextStream* err = nullptr; // prompts, one line per radio, the summary, errors
    // A line the user typed; nothing at the end of the input.
    std::function<std::optional<QString>()> readLine;
    // Set once the user asked to stop (Ctrl-C): the radio in hand is finished, then the run ends.
    std::function<bool()> stopRequested = [] { return false; };

    ProgramSettings settings;
    AnsiCodePage codePage;
    LinkTimings timings;
    QString backupFolder; // empty: the user's data folder
    // --no-prompt: the pause before trying again after no radio answered, or the same one did.
    std::chrono::milliseconds retryPause{1000};
    // A terminal's line that shows what the run waits for; nullptr when the output is no terminal.
    StatusLine* status = nullptr;
    // How long a frame waits for its reply before the status line says so.
    std::chrono::milliseconds statusAfter{1000};
};

int RunCli(const QStringList& arguments, CliContext& context);
