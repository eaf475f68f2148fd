// The real window, started as a program of its own under a virtual X server: the time from the
// process's start to the first drawing into its window, the memory it holds after a read, and the
// processor time it takes while idle with the port-list refresh running. Qt peers that Debian
// packages are started the same way, when installed, for their start-up time.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

struct ProgramStartups
{
    QString name;
    QString path;
    bool ours = false;
    QList<double> paintMs;                // process start to first paint, one per run
    std::optional<qint64> residentKiB;    // ours: after a read; a peer: once painted
    std::optional<double> idleCpuPercent; // of one core; ours only
    std::optional<double> MedianMs() const;
};

// One read pressed on the window's Read button: when each step was seen, in ms from the click. The
// radio's steps come from its trace, the program's from its own trace lines (tangelo.link and
// tangelo.window, read from its standard error as they come), the box's from the X server.
struct ReadClick
{
    enum Point {
        Pressed,     // the session starts (the window has the click)
        PortOpened,  // the session has opened the port
        FirstByte,   // the first frame's first byte at the radio
        LastByte,    // the radio's last reply byte on the line
        CoreEnd,     // the session takes the read as complete
        PortClosed,  // the session has closed the port
        RecordShown, // the window has the record and starts showing it
        Finished,    // the window has the session's end and starts on its outcome
        BoxBuilt,    // the message box is built, just before it is shown
        BoxCreated,  // its window is made on the X server
        BoxMapped,   // its window is mapped
        BoxPainted,  // the first drawing into it
        PointCount
    };
    static const char* PointName(int point); // for JSON, never translated
    static const char* PointText(int point); // for the table
    std::array<std::optional<double>, PointCount> at{};
    double wireFloorMs = 0;
    double ClickToBoxMs() const { return at[BoxMapped].value_or(0); }
};

struct WindowRuns
{
    int idleSeconds = 60;
    QList<ProgramStartups> programs; // ours first
    QStringList notes;
    QString error;
    QList<ReadClick> clicks; // the first after the window has idled, then the others
    // Ours against the fastest peer's median; none without a peer.
    std::optional<double> StartupRatio() const;
};

struct WindowOptions
{
    QString program; // TANGELO_Tune
    int runs = 7;
    int idleSeconds = 60;
    int clicks = 7;                             // reads pressed on the Read button, one after the other
    QStringList peers;                          // given ones, beside those found installed
    QString locale = QStringLiteral("C.UTF-8"); // LANG and LC_ALL of every program started
};

WindowRuns RunWindow(const WindowOptions& options);
