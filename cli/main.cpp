// tangelo-cli: the command line of TANGELO_Tune, for reading and writing radio after radio.
#include "cli/CliContext.h"
#include "cli/Console.h"
#include "cli/StatusLine.h"
#include "settings/Settings.h"
#include "system/ProgramTranslations.h"
#include "system/SystemLanguage.h"

#include <QCoreApplication>

#include <cstdio>
#include <optional>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    // The window's name: the same data folder for the backups, the same settings and aliases.
    QCoreApplication::setApplicationName(QStringLiteral("TANGELO_Tune"));
    // The window's language on the same system; what is read by programs (JSON, CSV, the log, the
    // trace) stays English whatever it is.
    const ProgramTranslations translations(SystemLanguageIndex());

    const Console console;
    // QTextStream writes UTF-8 whatever the system's code page.
    QTextStream out(stdout);
    QTextStream err(stderr);
    CliContext context;
    context.out = &out;
    context.err = &err;
    context.readLine = [&console] { return console.ReadLine(); };
    context.stopRequested = [&console] { return console.StopRequested(); };
    context.codePage = AnsiCodePage::System();
    // Only a person at a terminal is told that the run waits; a file or a pipe gets the results alone.
    std::optional<StatusLine> status;
    if (IsTerminal(stderr)) {
        status.emplace(err, &out);
        context.status = &*status;
    }
    return RunCli(QCoreApplication::arguments(), context);
}
