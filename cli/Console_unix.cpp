#include "cli/Console.h"

#include <unistd.h>

#include <csignal>
#include <iostream>
#include <string>

namespace {

// A signal handler has no object to reach: the flag it sets lives here.
volatile std::sig_atomic_t stopRequested = 0;

void OnInterrupt(int)
{
    stopRequested = 1;
    std::signal(SIGINT, SIG_DFL);
}

} // namespace

bool IsTerminal(std::FILE* stream)
{
    return isatty(fileno(stream)) == 1;
}

Console::Console()
{
    struct sigaction action
    {
    };
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no restart: a prompt waiting for a line gives up
    sigaction(SIGINT, &action, nullptr);
}

Console::~Console() = default;

bool Console::StopRequested() const
{
    return stopRequested != 0;
}

std::optional<QString> Console::ReadLine() const
{
    std::string line;
    if (!std::getline(std::cin, line))
        return std::nullopt;
    return QString::fromLocal8Bit(line);
}
