// A bare pseudo-terminal for the serial control's and the virtual radio's tests: the test plays the far
// end on the master side, byte for byte, with no protocol in between.
#pragma once

#include <QByteArray>
#include <QString>

class PtyPair
{
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool IsOpen() const { return master >= 0; }
    QString SlavePath() const { return slavePath; }

    void Write(const QByteArray& bytes);
    // What arrives within `ms` milliseconds, up to `expected` bytes; the event loop runs meanwhile.
    QByteArray Read(int expected, int ms = 1000);
    // Closes the far end: the slave side sees a hang-up.
    void HangUp();

private:
    int master = -1;
    int heldSlave = -1; // keeps the slave side alive between openings
    QString slavePath;
};
