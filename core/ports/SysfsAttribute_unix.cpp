#include "ports/SysfsAttribute.h"

#include "settings/SmallFile.h"

namespace {

// sysfs gives each attribute the size of a memory page whatever it holds (4 KiB, 64 KiB on some
// machines); nothing the program reads is near that.
constexpr int64_t MaxAttributeSize = 64 * 1024;

} // namespace

QString ReadAttribute(const QString& path)
{
    // Through the guarded reader: in a made-up tree a FIFO there would wait for a writer forever,
    // and a link to a device would open it.
    return QString::fromUtf8(ReadSmallFile(path, MaxAttributeSize).Content).trimmed();
}
