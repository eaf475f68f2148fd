// Whether the COM-port list may have changed, asked by the once-a-second refresh before it scans.
//
// Windows: a registry change notification on the serial-device map (or, while it is missing, on the
// key it appears under) and change notifications on the folders of the settings file.
//
// Linux: the refresh reads the serial devices in sysfs, the aliases com<N> and their targets, and the
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

#include "settings/Settings.h"

#include <memory>

class PortWatch
{
public:
    // Watches the places that the discovery and the settings file of `settings` use now.
    explicit PortWatch(const ProgramSettings& settings);
    ~PortWatch();
    PortWatch(const PortWatch&) = delete;
    PortWatch& operator=(const PortWatch&) = delete;

    // Whether anything may have changed since the last call; the first call says yes.
    bool Changed();
    bool Watching() const;
    bool UsesUdev() const;

private:
    struct Watches;
    std::unique_ptr<Watches> watches;
};
