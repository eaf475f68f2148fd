// The real window, started as a program of its own under a virtual X server: the time from the
// process's start to the first drawing into its window, the memory it holds after a read, and the
// processor time it takes while idle with the port-list refresh running. Qt peers that Debian
// packages are started the same way, when installed, for their start-up time.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

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

struct WindowRuns
{
    int idleSeconds = 60;
    QList<ProgramStartups> programs; // ours first
    QStringList notes;
    QString error;
    // Ours against the fastest peer's median; none without a peer.
    std::optional<double> StartupRatio() const;
};

struct WindowOptions
{
    QString program; // TANGELO_Tune
    int runs = 7;
    int idleSeconds = 60;
    QStringList peers;                          // given ones, beside those found installed
    QString locale = QStringLiteral("C.UTF-8"); // LANG and LC_ALL of every program started
};

WindowRuns RunWindow(const WindowOptions& options);
