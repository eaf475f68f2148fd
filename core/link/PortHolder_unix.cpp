#include "link/PortHolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <cerrno>

namespace {

QByteArray ReadSmallFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(4096);
}

bool ProcessLives(qint64 pid)
{
    return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
}

// The program's file when the system shows it to us, else the process's short name.
QString ProgramName(qint64 pid)
{
    const QString proc = QStringLiteral("/proc/%1").arg(pid);
    const QString program = QFileInfo(proc + QStringLiteral("/exe")).symLinkTarget();
    if (!program.isEmpty())
        return QFileInfo(program).fileName();
    return QString::fromLocal8Bit(ReadSmallFile(proc + QStringLiteral("/comm"))).trimmed();
}

// The process a lock file names: the first line holds its number, in QLockFile's form and in the
// uucp form padded with blanks (minicom, picocom).
qint64 LockHolder(const QString& devicePath)
{
    const QString lock = SerialLockFilePath(devicePath);
    if (lock.isEmpty())
        return 0;
    const QByteArray text = ReadSmallFile(lock);
    bool ok = false;
    const qint64 pid = text.left(text.indexOf('\n')).trimmed().toLongLong(&ok);
    return ok && ProcessLives(pid) ? pid : 0;
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

// Whether one of the process's open files is the device; false where the system hides them.
bool HoldsOpen(qint64 pid, const QByteArray& device)
{
    const QByteArray folder = QByteArray("/proc/") + QByteArray::number(pid) + "/fd";
    DIR* fds = ::opendir(folder.constData());
    if (!fds)
        return false;
    bool holds = false;
    std::array<char, 4096> target{};
    while (const dirent* entry = ::readdir(fds)) {
        if (entry->d_name[0] == '.')
            continue;
        const QByteArray link = folder + '/' + entry->d_name;
        const ssize_t length = ::readlink(link.constData(), target.data(), target.size());
        if (length > 0 && QByteArrayView(target.data(), length) == device) {
            holds = true;
            break;
        }
    }
    ::closedir(fds);
    return holds;
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
    const auto add = [&](qint64 pid) {
        for (const HoldingProcess& known : holders.Processes)
            if (known.Pid == pid)
                return;
        holders.Processes.append({pid, ProgramName(pid)});
    };
    if (const qint64 pid = LockHolder(devicePath))
        add(pid);
    const QString real = QFileInfo(devicePath).canonicalFilePath();
    const QByteArray device = QFile::encodeName(real.isEmpty() ? devicePath : real);
    const qint64 self = ::getpid();
    for (const qint64 pid : ProcessNumbers()) {
        // This process's own descriptors are not another program's (a test's end of a terminal).
        if (pid != self && HoldsOpen(pid, device))
            add(pid);
        if (ReadSmallFile(QStringLiteral("/proc/%1/comm").arg(pid)).trimmed() == "ModemManager")
            holders.ModemManagerRunning = true;
    }
    return holders;
}
