// One line of a terminal that shows what the run is waiting for: written over in place, and cleared
// before anything else is written. Only a terminal gets one; a file or a pipe gets none of it.
#pragma once

#include <QString>
#include <QTextStream>

class StatusLine
{
public:
    // `other`: the stream that shares the screen, flushed first so that its lines come before.
    explicit StatusLine(QTextStream& screen, QTextStream* shared = nullptr) : terminal(screen), other(shared)
    {
    }
    void Show(const QString& text);
    void Clear();

private:
    QTextStream& terminal;
    QTextStream* other;
    int shownWidth = 0; // the columns the line takes now
};
