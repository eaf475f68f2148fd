// Reading a small file that anyone may have replaced by something else: a device, a FIFO, a link to
// /dev/zero, a huge file. Only a regular file (or a link to one) of a bounded size is read, and
// nothing here can block.
#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <cstdint>
#include <optional>

// What tells one version of a file from another without reading it.
struct FileStamp
{
    uint64_t Device = 0;
    uint64_t Inode = 0;
    int64_t Size = 0;
    std::chrono::nanoseconds Modified{0}; // since the epoch
    std::chrono::nanoseconds Changed{0};  // status change: set by the system, cannot be put back

    bool operator==(const FileStamp&) const = default;
};

enum class SmallFileKind {
    Missing, // nothing at the path (or a link to nothing)
    Small,   // a regular file of at most the size limit
    Other,   // anything else: not regular, too large, or not readable
};

struct SmallFile
{
    SmallFileKind Kind = SmallFileKind::Missing;
    FileStamp Stamp;    // of the file read (Small only)
    QByteArray Content; // Small only
};

// What is at the path, from its status alone; the stamp is set for Small.
SmallFile StatSmallFile(const QString& path, int64_t maxSize);
// The file read whole when it is Small. A device is never opened, and the opening does not wait
// (a FIFO put in place after the check gives Other).
SmallFile ReadSmallFile(const QString& path, int64_t maxSize);

// Whether the stamp's modification time lies far enough back that a change made now would show in
// it: the system keeps file times in coarse steps (a clock tick, two seconds on FAT), and within one
// step a rewrite of the same size leaves size and times as they were.
bool StampSettled(const FileStamp& stamp);
