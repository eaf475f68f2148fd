// Changes in a few folders, through inotify: an entry made, removed, renamed, written or its
// permissions changed, and the folder itself changed or gone. A folder that does not exist yet is
// watched through the nearest folder above it that does, so that its making is noticed too.
#pragma once

#include <QString>
#include <QStringList>

class FolderWatch
{
public:
    explicit FolderWatch(QStringList folders);
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // False when inotify or one of the watches could not be had; Changed() then always says yes.
    bool Watching() const { return watching; }
    // Whether anything changed since the last call; takes every pending event, never waits. Watches
    // are set again after a change, so a folder made or replaced meanwhile is followed.
    bool Changed();
    // The descriptor that becomes readable on a change (for a poll), or -1.
    int Descriptor() const { return fd; }

private:
    void Arm();

    QStringList folders;
    int fd = -1;
    bool watching = false;
};
