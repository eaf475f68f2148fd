#include "link/PortHolder.h"

#include "settings/SmallFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <limits>
#include <optional>

namespace {

// A lock file holds a line or two, /proc's texts a name: anything larger is not one.
constexpr int64_t MaxSmallText = 4096;

// The lock folders are writable by everyone, so what lies there may be a FIFO or a device: read
// only a small regular file, without waiting.
QByteArray SmallText(const QString& path)
{
    return ReadSmallFile(path, MaxSmallText).Content;
}

bool ProcessLives(pid_t pid)
{
    return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM);
}

// The program's file when the system shows it to us, else the process's short name.
QString ProgramName(qint64 pid)
{
    const QString proc = QStringLiteral("/proc/%1").arg(pid);
    const QString program = QFileInfo(proc + QStringLiteral("/exe")).symLinkTarget();
    if (!program.isEmpty())
        return QFileInfo(program).fileName();
    return QString::fromLocal8Bit(SmallText(proc + QStringLiteral("/comm"))).trimmed();
}

// The live process a lock file names, other than this one: the first line holds its number, in
// QLockFile's form and in the uucp form padded with blanks (minicom, picocom). A number beyond a
// process number's range names no one (cut to pid_t, 4294967297 would be process 1).
qint64 LockHolder(const QString& devicePath)
{
    const QString lock = SerialLockFilePath(devicePath);
    if (lock.isEmpty())
        return 0;
    const QByteArray text = SmallText(lock);
    bool ok = false;
    const qint64 number = text.left(text.indexOf('\n')).trimmed().toLongLong(&ok);
    if (!ok || number <= 0 || number > std::numeric_limits<pid_t>::max())
        return 0;
    const auto pid = pid_t(number);
    return pid != ::getpid() && ProcessLives(pid) ? number : 0;
}

QList<qint64> ProcessNumbers()
{
    QList<qint64> numbers;
    DIR* proc = ::opendir("/proc");
    if (!proc)
        return numbers;
    while (const dirent* entry = ::readdir(proc)) {
        char* end = nullptr;
        const long long pid = std::strtoll(entry->d_name, &end, 10);
        if (pid > 0 && end && *end == '\0')
            numbers << pid;
    }
    ::closedir(proc);
    return numbers;
}

// The number of the pseudo-terminal whose slave side the device is ("/dev/pts/3": 3).
std::optional<int> PtyNumber(const QByteArray& device)
{
    constexpr QByteArrayView Prefix("/dev/pts/");
    if (!device.startsWith(Prefix))
        return std::nullopt;
    bool ok = false;
    const int number = device.mid(Prefix.size()).toInt(&ok);
    return ok && number >= 0 ? std::optional<int>(number) : std::nullopt;
}

// The pseudo-terminal whose master side a descriptor holds, as the system tells in its fdinfo.
std::optional<int> MasterOf(const QByteArray& fdinfo)
{
    for (const QByteArray& line : fdinfo.split('\n')) {
        if (!line.startsWith("tty-index:"))
            continue;
        bool ok = false;
        const int number = line.mid(10).trimmed().toInt(&ok);
        return ok ? std::optional<int>(number) : std::nullopt;
    }
    return std::nullopt;
}

struct DeviceFiles
{
    bool Device = false;   // the device itself
    bool OtherEnd = false; // the master side of the pseudo-terminal the device is
};

// What among the process's open files concerns the device; nothing where the system hides them.
DeviceFiles OpenDeviceFiles(qint64 pid, const QByteArray& device, std::optional<int> pty)
{
    DeviceFiles files;
    const QByteArray proc = QByteArray("/proc/") + QByteArray::number(pid);
    const QByteArray folder = proc + "/fd";
    DIR* fds = ::opendir(folder.constData());
    if (!fds)
        return files;
    std::array<char, 4096> target{};
    while (const dirent* entry = ::readdir(fds)) {
        if (entry->d_name[0] == '.')
            continue;
        const QByteArray link = folder + '/' + entry->d_name;
        const ssize_t length = ::readlink(link.constData(), target.data(), target.size());
        if (length <= 0)
            continue;
        const QByteArrayView opened(target.data(), length);
        if (opened == device)
            files.Device = true;
        else if (pty && (opened == "/dev/ptmx" || opened == "/dev/pts/ptmx") &&
                 MasterOf(SmallText(QFile::decodeName(proc + "/fdinfo/" + entry->d_name))) == pty)
            files.OtherEnd = true;
    }
    ::closedir(fds);
    return files;
}

} // namespace

QString SerialLockFilePath(const QString& devicePath)
{
    // QSerialPort's own choice: the first of these folders that is readable and writable (or holds
    // the lock already), with the device's name below /dev and '/' made '_'.
    const std::array folders{"/var/lock", "/etc/locks", "/var/spool/locks",  "/var/spool/uucp",
                             "/tmp",      "/var/tmp",   "/var/lock/lockdev", "/run/lock"};
    QString name = devicePath.startsWith(QStringLiteral("/dev/")) ? devicePath.mid(5) : devicePath;
    name.replace(u'/', u'_');
    for (const char* folder : folders) {
        const QString path = QLatin1String(folder) + QStringLiteral("/LCK..") + name;
        const QFileInfo info{QLatin1String(folder)};
        if (info.isReadable() && (QFileInfo::exists(path) || info.isWritable()))
            return path;
    }
    return {};
}

PortHolders FindPortHolders(const QString& devicePath)
{
    PortHolders holders;
    // A live lock file's process is the one that keeps the port: QSerialPort and the uucp tools
    // refuse it for that alone, and the other processes with the device open are not named beside it.
    const qint64 lockHolder = LockHolder(devicePath);
    if (lockHolder)
        holders.Processes.append({lockHolder, ProgramName(lockHolder)});
    const QString real = QFileInfo(devicePath).canonicalFilePath();
    const QByteArray device = QFile::encodeName(real.isEmpty() ? devicePath : real);
    const std::optional<int> pty = PtyNumber(device);
    const qint64 self = ::getpid();
    for (const qint64 pid : ProcessNumbers()) {
        // Neither this process's own descriptors (a test's end of a terminal) nor the far end of a
        // pseudo-terminal (a virtual radio, which keeps the slave side open too) is another program
        // holding the device.
        if (!lockHolder && pid != self) {
            const DeviceFiles files = OpenDeviceFiles(pid, device, pty);
            if (files.Device && !files.OtherEnd)
                holders.Processes.append({pid, ProgramName(pid)});
        }
        if (SmallText(QStringLiteral("/proc/%1/comm").arg(pid)).trimmed() == "ModemManager")
            holders.ModemManagerRunning = true;
    }
    return holders;
}
