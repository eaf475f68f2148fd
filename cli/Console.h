// The terminal that tangelo-cli talks to: the user's lines in, Ctrl+C, and text out as UTF-8, so that
// the arrow of a change and the Chinese text of a radio reach the screen (or a file) as they are.
#pragma once

#include <QString>

#include <cstdio>
#include <optional>

// Whether the stream is a terminal, where a line can be written over in place.
bool IsTerminal(std::FILE* stream);

class Console
{
public:
    // Sets the terminal up for this run (on Windows the console's code pages, put back at the end)
    // and takes Ctrl+C: the first lets the radio in hand finish and ends the run with its summary,
    // a second ends the program at once.
    Console();
    ~Console();
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    bool StopRequested() const;
    // A line the user typed; nothing at the end of the input or when Ctrl+C broke the wait.
    std::optional<QString> ReadLine() const;

private:
    unsigned inputCodePage = 0;
    unsigned outputCodePage = 0;
};
