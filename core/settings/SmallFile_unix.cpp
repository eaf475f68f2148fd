#include "settings/SmallFile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::chrono::nanoseconds Nanoseconds(const timespec& t)
{
    return std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec);
}

FileStamp StampOf(const struct stat& st)
{
    return {uint64_t(st.st_dev), uint64_t(st.st_ino), int64_t(st.st_size), Nanoseconds(st.st_mtim),
            Nanoseconds(st.st_ctim)};
}

SmallFileKind KindOf(const struct stat& st, int64_t maxSize)
{
    return S_ISREG(st.st_mode) && st.st_size <= maxSize ? SmallFileKind::Small : SmallFileKind::Other;
}

SmallFileKind KindOfError(int error)
{
    return error == ENOENT || error == ENOTDIR ? SmallFileKind::Missing : SmallFileKind::Other;
}

class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

SmallFile StatSmallFile(const QString& path, int64_t maxSize)
{
    struct stat st
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {KindOfError(errno), {}, {}};
    const SmallFileKind kind = KindOf(st, maxSize);
    return {kind, kind == SmallFileKind::Small ? StampOf(st) : FileStamp{}, {}};
}

SmallFile ReadSmallFile(const QString& path, int64_t maxSize)
{
    // Checked before opening: opening a device can act on it (a serial adapter's control lines).
    const SmallFile status = StatSmallFile(path, maxSize);
    if (status.Kind != SmallFileKind::Small)
        return status;
    const Descriptor fd(
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.Get() < 0)
        return {KindOfError(errno), {}, {}};
    // The path may have been replaced between the check and the opening: what counts is what was opened.
    struct stat st
    {
    };
    if (::fstat(fd.Get(), &st) != 0 || KindOf(st, maxSize) != SmallFileKind::Small)
        return {SmallFileKind::Other, {}, {}};

    QByteArray content(qsizetype(st.st_size) + 1, Qt::Uninitialized);
    qsizetype used = 0;
    for (;;) {
        if (used == content.size()) {
            if (used > maxSize)
                return {SmallFileKind::Other, {}, {}}; // grew past the limit while being read
            content.resize(std::min<qsizetype>(content.size() * 2, qsizetype(maxSize) + 1));
        }
        const ssize_t n = ::read(fd.Get(), content.data() + used, size_t(content.size() - used));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return {SmallFileKind::Other, {}, {}};
        if (n == 0)
            break;
        used += n;
    }
    content.truncate(used);
    return {SmallFileKind::Small, StampOf(st), content};
}
