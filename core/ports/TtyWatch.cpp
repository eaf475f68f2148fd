#include "ports/TtyWatch.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <libudev.h>
#include <poll.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <array>
#include <cstring>

// The monitor and its library context; either part missing means no monitor.
struct TtyWatch::UdevMonitor
{
    udev* context = nullptr;
    udev_monitor* monitor = nullptr;

    UdevMonitor()
    {
        // Without the daemon a monitor of its events opens fine and stays silent forever.
        if (::access("/run/udev/control", F_OK) != 0)
            return;
        context = udev_new();
        if (!context)
            return;
        monitor = udev_monitor_new_from_netlink(context, "udev");
        if (monitor && udev_monitor_filter_add_match_subsystem_devtype(monitor, "tty", nullptr) >= 0 &&
            udev_monitor_enable_receiving(monitor) >= 0)
            return;
        if (monitor)
            udev_monitor_unref(monitor);
        monitor = nullptr;
    }
    ~UdevMonitor()
    {
        if (monitor)
            udev_monitor_unref(monitor);
        if (context)
            udev_unref(context);
    }
    UdevMonitor(const UdevMonitor&) = delete;
    UdevMonitor& operator=(const UdevMonitor&) = delete;

    bool Ready() const { return monitor != nullptr; }

    bool Changed()
    {
        pollfd pending{udev_monitor_get_fd(monitor), POLLIN, 0};
        if (::poll(&pending, 1, 0) <= 0)
            return false;
        // The events themselves do not matter, only that there were some; a lost event (a full
        // socket buffer) also wakes the poll.
        while (udev_device* device = udev_monitor_receive_device(monitor))
            udev_device_unref(device);
        return true;
    }
};

namespace {

// FNV-1a over each entry's inode number and name, in the folder's own order. The folder stays
// open between listings: a listing is then a rewind and a read or two.
std::optional<uint64_t> ListingFingerprint(int folder)
{
    if (folder < 0 || ::lseek(folder, 0, SEEK_SET) != 0)
        return std::nullopt;
    uint64_t hash = 14695981039346656037ULL;
    const auto mix = [&hash](const void* data, size_t size) {
        for (const auto* byte = static_cast<const unsigned char*>(data); size > 0; ++byte, --size)
            hash = (hash ^ *byte) * 1099511628211ULL;
    };
    alignas(dirent64) std::array<char, 16384> buffer;
    for (;;) {
        const long got = ::syscall(SYS_getdents64, folder, buffer.data(), buffer.size());
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            return hash;
        for (long at = 0; at < got;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer.data() + at);
            const uint64_t inode = entry->d_ino;
            mix(&inode, sizeof inode);
            mix(entry->d_name, std::strlen(entry->d_name) + 1);
            at += entry->d_reclen;
        }
    }
}

} // namespace

TtyWatch::TtyWatch(const QString& sysRoot)
{
    if (sysRoot == QStringLiteral("/sys")) {
        monitor = std::make_unique<UdevMonitor>();
        if (!monitor->Ready())
            monitor.reset();
    }
    if (!monitor) {
        const QByteArray classDir = QFile::encodeName(sysRoot + QStringLiteral("/class/tty"));
        folder = ::open(classDir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        listed = ListingFingerprint(folder);
    }
}

TtyWatch::~TtyWatch()
{
    if (folder >= 0)
        ::close(folder);
}

bool TtyWatch::Changed()
{
    if (monitor)
        return monitor->Changed();
    const std::optional<uint64_t> now = ListingFingerprint(folder);
    const bool changed = !now || now != listed;
    listed = now;
    return changed;
}
