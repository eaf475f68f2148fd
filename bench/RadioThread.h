// The virtual radio in a thread of its own, as a radio is a device of its own: its paced replies
// go out on time while the program works, and the program's event loop does not wait on it.
#pragma once

#include "VirtualRadio.h"

#include <QThread>

#include <memory>

class RadioThread
{
public:
    // Opens the radio on a new pseudo-terminal, with the 115200 8N1 line modelled both ways.
    RadioThread();
    ~RadioThread();
    RadioThread(const RadioThread&) = delete;
    RadioThread& operator=(const RadioThread&) = delete;

    bool IsOpen() const { return !devicePath.isEmpty(); }
    QString DevicePath() const { return devicePath; }
    QString ErrorString() const { return error; }

    struct Traces
    {
        QList<VirtualRadioTraceEntry> received;
        QList<VirtualRadioSentEntry> sent;
    };
    // What the radio received and sent since the last call, which clears both.
    Traces TakeTraces();
    // Replies handed to the device in lots every `ms` milliseconds, as a USB bridge's latency timer
    // does; 0: as the line carries them.
    void SetLots(int ms);

private:
    template <typename F> void Run(F&& f);

    QThread thread;
    std::unique_ptr<QObject> anchor; // lives in the thread: what calls are queued to
    std::unique_ptr<VirtualRadio> radio;
    QString devicePath;
    QString error;
};
