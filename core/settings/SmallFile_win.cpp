#include "settings/SmallFile.h"

#include <QDir>

#include <algorithm>

#include <windows.h>

namespace {

// FILETIME counts 100 ns steps since 1601; the stamp counts from 1970 like the other systems'.
std::chrono::nanoseconds Nanoseconds(LARGE_INTEGER time)
{
    constexpr int64_t From1601To1970 = 116444736000000000LL;
    return std::chrono::nanoseconds((time.QuadPart - From1601To1970) * 100);
}

std::chrono::nanoseconds Nanoseconds(FILETIME time)
{
    LARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = LONG(time.dwHighDateTime);
    return Nanoseconds(value);
}

SmallFileKind KindOfError(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? SmallFileKind::Missing
                                                                          : SmallFileKind::Other;
}

class Handle
{
public:
    explicit Handle(HANDLE h) : handle(h) {}
    ~Handle()
    {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE Get() const { return handle; }
    bool Valid() const { return handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle;
};

// Opens without sharing restrictions, so that an editor holding the file does not make it look absent.
// A link (symbolic or junction) is followed, as the profile functions follow it.
HANDLE OpenFile(const QString& path, DWORD access)
{
    const std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    return CreateFileW(native.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Kind and stamp of an open handle. Only a file on a disk counts: a device (NUL, COM1, a pipe) that a
// path can also name is Other.
SmallFile Examine(HANDLE handle, int64_t maxSize)
{
    if (GetFileType(handle) != FILE_TYPE_DISK)
        return {SmallFileKind::Other, {}, {}};
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle, &info) || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return {SmallFileKind::Other, {}, {}};
    const int64_t size = (int64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    if (size > maxSize)
        return {SmallFileKind::Other, {}, {}};
    FileStamp stamp;
    stamp.Device = info.dwVolumeSerialNumber;
    stamp.Inode = (uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    stamp.Size = size;
    stamp.Modified = Nanoseconds(info.ftLastWriteTime);
    // The change time moves with renames and attribute changes too, as a status change does elsewhere.
    FILE_BASIC_INFO basic{};
    stamp.Changed = GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic)
                        ? Nanoseconds(basic.ChangeTime)
                        : stamp.Modified;
    return {SmallFileKind::Small, stamp, {}};
}

} // namespace

SmallFile StatSmallFile(const QString& path, int64_t maxSize)
{
    // Reading the attributes alone opens no device and waits for nothing.
    const Handle file(OpenFile(path, FILE_READ_ATTRIBUTES));
    if (!file.Valid())
        return {KindOfError(GetLastError()), {}, {}};
    return Examine(file.Get(), maxSize);
}

SmallFile ReadSmallFile(const QString& path, int64_t maxSize)
{
    const SmallFile status = StatSmallFile(path, maxSize);
    if (status.Kind != SmallFileKind::Small)
        return status;
    const Handle file(OpenFile(path, GENERIC_READ));
    if (!file.Valid())
        return {KindOfError(GetLastError()), {}, {}};
    // The path may have been replaced between the check and the opening: what counts is what was opened.
    SmallFile result = Examine(file.Get(), maxSize);
    if (result.Kind != SmallFileKind::Small)
        return result;
    QByteArray content(qsizetype(result.Stamp.Size) + 1, Qt::Uninitialized);
    qsizetype used = 0;
    for (;;) {
        if (used == content.size()) {
            if (used > maxSize)
                return {SmallFileKind::Other, {}, {}}; // grew past the limit while being read
            content.resize(std::min<qsizetype>(content.size() * 2, qsizetype(maxSize) + 1));
        }
        DWORD n = 0;
        if (!ReadFile(file.Get(), content.data() + used, DWORD(content.size() - used), &n, nullptr))
            return {SmallFileKind::Other, {}, {}};
        if (n == 0)
            break;
        used += qsizetype(n);
    }
    content.truncate(used);
    result.Content = content;
    return result;
}
