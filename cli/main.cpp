// tangelo-cli: the command line of TANGELO_Tune, for reading and writing radio after radio.
#include "cli/CliContext.h"
#include "cli/Console.h"
#include "settings/Settings.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    // The window's name: the same data folder for the backups, the same settings and aliases.
    QCoreApplication::setApplicationName(QStringLiteral("TANGELO_Tune"));

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
    return RunCli(QCoreApplication::arguments(), context);
}
