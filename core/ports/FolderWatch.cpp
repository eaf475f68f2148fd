#include "ports/FolderWatch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <array>

#include <sys/inotify.h>
#include <unistd.h>

namespace {

// A file or alias made, removed, renamed, rewritten or retargeted, or a permission change; the
// watched folder itself gone or moved. Reads (IN_ACCESS, IN_OPEN) are left out: the refresh itself
// reads these folders.
constexpr uint32_t WatchMask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_MODIFY |
                               IN_CLOSE_WRITE | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

// The folder itself when it exists, else the nearest one above it.
QString NearestExistingFolder(const QString& folder)
{
    QString path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    while (!QFileInfo(path).isDir()) {
        const QString parent = QFileInfo(path).absolutePath();
        if (parent == path)
            return {};
        path = parent;
    }
    return path;
}

} // namespace

FolderWatch::FolderWatch(QStringList watched) : folders(std::move(watched))
{
    fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    Arm();
}

FolderWatch::~FolderWatch()
{
    if (fd >= 0)
        ::close(fd);
}

void FolderWatch::Arm()
{
    watching = false;
    if (fd < 0)
        return;
    // A new descriptor drops the old watches at once: simpler than following each removed folder.
    ::close(fd);
    fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd < 0)
        return;
    for (const QString& folder : folders) {
        const QString existing = NearestExistingFolder(folder);
        if (existing.isEmpty() ||
            ::inotify_add_watch(fd, QFile::encodeName(existing).constData(), WatchMask) < 0)
            return;
    }
    watching = true;
}

bool FolderWatch::Changed()
{
    if (fd < 0)
        return true;
    // One read tells whether anything happened; Arm() drops the rest with the old descriptor, so a
    // folder written without pause cannot hold this up.
    alignas(inotify_event) std::array<char, 4096> events;
    const bool changed = ::read(fd, events.data(), events.size()) > 0;
    if (changed || !watching)
        Arm();
    return changed || !watching;
}
