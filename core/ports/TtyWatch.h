// Serial devices coming and going, cheaply. Where udev runs and the real sysfs is read, a udev
// monitor on the tty subsystem says so. Otherwise (no udev, as in most containers, or a sysfs tree
// elsewhere) the tty class folder is listed with each entry's inode number: one directory read, and
// a device that goes and comes back under the same name gets a new sysfs node, so a new number.
#pragma once

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

class TtyWatch
{
public:
    explicit TtyWatch(const QString& sysRoot);
    ~TtyWatch();
    TtyWatch(const TtyWatch&) = delete;
    TtyWatch& operator=(const TtyWatch&) = delete;

    bool UsesUdev() const { return monitor != nullptr; }
    // Whether the devices may have changed since the last call; never waits.
    bool Changed();

private:
    struct UdevMonitor;
    std::unique_ptr<UdevMonitor> monitor;
    int folder = -1;                // the tty class folder, kept open for the listing
    std::optional<uint64_t> listed; // the listing's fingerprint; none when unreadable
};
