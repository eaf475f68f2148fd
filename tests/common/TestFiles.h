// Small file helpers: real files in temporary folders.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTest>

#include <chrono>
#include <thread>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

inline void WriteTestFile(const QString& path, const QByteArray& content)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(content), content.size());
}

// A FIFO at the path, its folder made: opened plainly for reading, it waits for a writer forever.
inline void MakeFifo(const QString& path)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0644) == 0);
}

// What ReadTestFile gives for a file that is not there.
inline const QByteArray MissingFile = "<missing>";

inline QByteArray ReadTestFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return MissingFile;
    return file.readAll();
}

// Sets a file's modification time far into the past, so that any rewrite shows.
inline void AgeFile(const QString& path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime(QDate(2001, 1, 1), QTime(0, 0)), QFileDevice::FileModificationTime));
}

inline QDateTime FileTime(const QString& path)
{
    return QFileInfo(path).lastModified();
}

// Makes a file or folder unwritable for this process, also for root (by the immutable flag, where the
// file system has it); undone on destruction. Writable() says whether it worked.
class ReadOnlyGuard
{
public:
    explicit ReadOnlyGuard(const QString& path) : m_path(path)
    {
        m_permissions = QFile::permissions(path);
        QFile::setPermissions(path, m_permissions & ~(QFileDevice::WriteOwner | QFileDevice::WriteUser |
                                                      QFileDevice::WriteGroup | QFileDevice::WriteOther));
        if (QFileInfo(path).isWritable())
            SetImmutable(true);
    }
    ~ReadOnlyGuard()
    {
        if (m_immutable)
            SetImmutable(false);
        QFile::setPermissions(m_path, m_permissions);
    }
    ReadOnlyGuard(const ReadOnlyGuard&) = delete;
    ReadOnlyGuard& operator=(const ReadOnlyGuard&) = delete;

    bool Writable() const { return QFileInfo(m_path).isWritable(); }

private:
    void SetImmutable(bool on)
    {
        const int fd = ::open(QFile::encodeName(m_path).constData(), O_RDONLY | O_NONBLOCK);
        if (fd < 0)
            return;
        int flags = 0;
        if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            if (::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0)
                m_immutable = on;
        }
        ::close(fd);
    }

    QString m_path;
    QFileDevice::Permissions m_permissions;
    bool m_immutable = false;
};

// Things that can stand where a settings file is expected and are none: "link to /dev/zero", "FIFO",
// or "2 MiB file" (a plain file that starts with the section and the key, holding comPort=900).
inline void MakeNoSettingsFile(const QString& path, const QString& kind)
{
    if (kind == u"link to /dev/zero") {
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    } else if (kind == u"FIFO") {
        MakeFifo(path);
    } else {
        QByteArray content = "[language]\ncomPort=900\n";
        const QByteArray filler = QByteArray(63, ';') + '\n';
        while (content.size() < 2 * 1024 * 1024)
            content += filler;
        WriteTestFile(path, content);
        AgeFile(path);
    }
}

// What a MakeNoSettingsFile thing is, read without opening it, and for a plain file its content and
// time: compared before and after, it shows any change.
inline QString DescribeNoSettingsFile(const QString& path)
{
    const QFileInfo info(path);
    if (info.isSymLink())
        return QStringLiteral("link to ") + info.symLinkTarget();
    struct stat st
    {
    };
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return QStringLiteral("missing");
    if (S_ISFIFO(st.st_mode))
        return QStringLiteral("FIFO");
    return QStringLiteral("file of %1 bytes, %2, content hash %3")
        .arg(info.size())
        .arg(info.lastModified().toString(Qt::ISODateWithMs))
        .arg(qHash(ReadTestFile(path)));
}

// Keeps a FIFO from hanging a test for good: after `delay`, a thread opens it for writing and closes
// it again, over and over, so that a reader blocked in opening it goes on and finds end of file.
class FifoUnblocker
{
public:
    FifoUnblocker(const QString& path, std::chrono::milliseconds delay)
        : m_thread([path = QFile::encodeName(path), delay](std::stop_token stop) {
              const auto start = std::chrono::steady_clock::now();
              while (!stop.stop_requested()) {
                  std::this_thread::sleep_for(std::chrono::milliseconds(20));
                  if (std::chrono::steady_clock::now() - start < delay)
                      continue;
                  if (const int fd = ::open(path.constData(), O_WRONLY | O_NONBLOCK); fd >= 0)
                      ::close(fd);
              }
          })
    {
    }

private:
    std::jthread m_thread; // stopped and joined on destruction
};
