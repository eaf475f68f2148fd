// Whether the COM-port list may have changed, asked by the once-a-second refresh before it scans.
// The refresh reads the serial devices in sysfs, the aliases com<N> and their targets, and the
// settings file; scanning all that every second costs more than anything else the idle window does.
// Here each is followed cheaply:
//   - the serial devices by TtyWatch (a udev monitor, or one listing of the tty class folder);
//   - the folders of the settings file and of the aliases, in the program directory and in the
//     user's configuration folder, by an inotify watch (FolderWatch);
//   - each alias's target by one stat a question: a pseudo-terminal that closes takes its device
//     away without changing any folder that could be watched.
// Where a folder watch cannot be had, every question is answered yes, and the refresh scans as
// if there were no watch.
#pragma once

#include "settings/FolderWatch.h"
#include "settings/Settings.h"
#include "settings/TtyWatch.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <sys/types.h>

class PortWatch
{
public:
    // Watches the places that the discovery and the settings file of `settings` use now.
    explicit PortWatch(const ProgramSettings& settings);

    // Whether anything may have changed since the last call; the first call says yes.
    bool Changed();
    bool Watching() const { return folders.Watching(); }
    bool UsesUdev() const { return ttys.UsesUdev(); }

private:
    // What stat says of an alias's target; all zero when there is none.
    struct Target
    {
        dev_t Device = 0;
        ino_t Inode = 0;
        mode_t Mode = 0;
        dev_t Names = 0; // the device it names
        bool operator==(const Target&) const = default;
    };
    void ListAliases();
    QList<Target> Targets() const;

    QStringList aliasFolders;
    FolderWatch folders;
    TtyWatch ttys;
    QList<QByteArray> aliases; // every entry of the alias folders
    QList<Target> targets;
    bool first = true;
};
