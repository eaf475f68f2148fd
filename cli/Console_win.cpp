#include "cli/Console.h"

#include <io.h>
#include <windows.h>

#include <atomic>
#include <iostream>
#include <string>

namespace {

// The console's handler runs on a thread of its own and has no object to reach: the flag lives here.
std::atomic<int> interrupts{0};

BOOL WINAPI OnConsoleEvent(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    // The second Ctrl+C goes on to the default handler, which ends the program.
    return ++interrupts == 1 ? TRUE : FALSE;
}

} // namespace

// The console shows UTF-8 when its code pages say so; they are the whole window's, so they are put
// back when the run ends. Redirected output is UTF-8 bytes either way.
bool IsTerminal(std::FILE* stream)
{
    return _isatty(_fileno(stream)) != 0;
}

Console::Console() : inputCodePage(GetConsoleCP()), outputCodePage(GetConsoleOutputCP())
{
    if (outputCodePage != 0)
        SetConsoleOutputCP(CP_UTF8);
    if (inputCodePage != 0)
        SetConsoleCP(CP_UTF8);
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

Console::~Console()
{
    SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
    if (outputCodePage != 0)
        SetConsoleOutputCP(outputCodePage);
    if (inputCodePage != 0)
        SetConsoleCP(inputCodePage);
}

bool Console::StopRequested() const
{
    return interrupts.load() > 0;
}

std::optional<QString> Console::ReadLine() const
{
    std::string line;
    if (!std::getline(std::cin, line) || StopRequested())
        return std::nullopt;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    // From the console the line is UTF-8 (its input code page is set so); a file or a pipe may hold
    // the system's code page instead, as other Windows programs write it.
    const QString text = QString::fromUtf8(line);
    return text.contains(QChar::ReplacementCharacter) ? QString::fromLocal8Bit(line) : text;
}
