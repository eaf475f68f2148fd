// Small file helpers: real files in temporary folders.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTest>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

inline void WriteTestFile(const QString& path, const QByteArray& content)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(content), content.size());
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
