// tangelo-cli: the command line of TANGELO_Tune, for reading and writing radio after radio.
#include "cli/CliContext.h"
#include "settings/Settings.h"

#include <QCoreApplication>
#include <QLocale>

#include <csignal>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>

namespace {

volatile std::sig_atomic_t stopRequested = 0;

// The first Ctrl-C lets the radio in hand finish and ends the run with its summary; a second one ends
// the program at once.
void OnInterrupt(int)
{
    stopRequested = 1;
    std::signal(SIGINT, SIG_DFL);
}

std::optional<QString> ReadLine()
{
    std::string line;
    if (!std::getline(std::cin, line))
        return std::nullopt;
    return QString::fromLocal8Bit(line);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    // The window's name: the same data folder for the backups, the same settings and aliases.
    QCoreApplication::setApplicationName(QStringLiteral("TANGELO_Tune"));

    struct sigaction action
    {
    };
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no restart: a prompt waiting for a line gives up
    sigaction(SIGINT, &action, nullptr);

    QTextStream out(stdout);
    QTextStream err(stderr);
    CliContext context;
    context.out = &out;
    context.err = &err;
    context.readLine = ReadLine;
    context.stopRequested = [] { return stopRequested != 0; };
    context.codePage = AnsiCodePage::System();
    return RunCli(QCoreApplication::arguments(), context);
}
