#include "cli/StatusLine.h"

#include "cli/TerminalText.h"

#include <algorithm>

// A carriage return goes back to the start of the line; spaces then cover what a longer text left.
void StatusLine::Show(const QString& text)
{
    if (other != nullptr)
        other->flush();
    const int width = TerminalWidth(text);
    terminal << '\r' << text << QString(std::max(0, shownWidth - width), u' ');
    terminal.flush();
    shownWidth = std::max(shownWidth, width);
}

void StatusLine::Clear()
{
    if (shownWidth == 0)
        return;
    terminal << '\r' << QString(shownWidth, u' ') << '\r';
    terminal.flush();
    shownWidth = 0;
}
