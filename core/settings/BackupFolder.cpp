#include "settings/BackupFolder.h"

#include "data/AnsiCodePage.h"
#include "link/ModelCheck.h"
#include "settings/FileSync.h"
#include "settings/SmallFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <utility>

namespace {

class BackupFolderText
{
    Q_DECLARE_TR_FUNCTIONS(BackupFolderText)
};

constexpr int64_t MaxBackupFileSize = 64 * 1024; // a backup file is under 1 KiB
constexpr int NameTries = 100;

// Letters, digits, dot and dash stay; anything else, a slash above all, becomes an underscore.
QString FileNamePart(const QString& text)
{
    QString part;
    for (QChar c : text)
        part += (c.unicode() < 128 && (c.isLetterOrNumber() || c == u'.' || c == u'-')) ? c : QChar(u'_');
    while (part.startsWith(u'.'))
        part[0] = u'_';
    return part.isEmpty() ? QStringLiteral("no-serial") : part;
}

} // namespace

BackupFileResult WriteBackupFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly,
                   QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return {path, BackupFolderText::tr("%1: %2", "a file, and why it could not be written")
                          .arg(path, file.errorString())};
    const bool written = file.write(content) == content.size() && file.flush() && FlushToDisk(file);
    if (!written) {
        const QString error = BackupFolderText::tr("%1: %2", "a file, and why it could not be written")
                                  .arg(path, file.errorString());
        file.close();
        QFile::remove(path); // a partial backup would be mistaken for one
        return {path, error};
    }
    return {path, {}};
}

ParsedBackup ReadBackupFile(const QString& path)
{
    const SmallFile file = ReadSmallFile(path, MaxBackupFileSize);
    switch (file.Kind) {
    case SmallFileKind::Missing:
        return {std::nullopt, BackupFolderText::tr("%1: no such file").arg(path)};
    case SmallFileKind::Other:
        if (const QFileInfo info(path); info.isFile() && info.size() > MaxBackupFileSize)
            return {std::nullopt,
                    BackupFolderText::tr("%1: too large (%2 bytes; a backup is at most %3)")
                        .arg(path)
                        .arg(info.size())
                        .arg(BackupFolderText::tr("%n bytes", nullptr, int(MaxBackupFileSize)))};
        return {std::nullopt, BackupFolderText::tr("%1: not a readable backup file").arg(path)};
    case SmallFileKind::Small:
        break;
    }
    ParsedBackup parsed = ParseBackupFile(file.Content);
    if (!parsed.Backup)
        parsed.Error = BackupFolderText::tr("%1: %2", "a backup file, and what is wrong with it")
                           .arg(path, parsed.Error);
    return parsed;
}

BackupFolder::BackupFolder(QString folder) : path(std::move(folder)) {}

QString BackupFolder::Path() const
{
    if (!path.isEmpty())
        return path;
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return data.isEmpty() ? QString() : QDir(data).filePath(QStringLiteral("backups"));
}

QString BackupFolder::FileName(const RadioBackup& backup, const AnsiCodePage& page)
{
    return FileNamePart(SerialNumberText(backup.Image, page)) + u'_' +
           backup.Saved.toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")) + QStringLiteral(".json");
}

BackupFileResult BackupFolder::Save(const RadioBackup& backup, const AnsiCodePage& page) const
{
    const QString folder = Path();
    if (folder.isEmpty())
        return {{}, BackupFolderText::tr("there is no folder for backups (no home folder)")};
    if (!QDir().mkpath(folder))
        return {folder, BackupFolderText::tr("%1: the folder cannot be made").arg(folder)};
    const QByteArray content = BackupFileContent(backup, page);
    const QString name = FileName(backup, page);
    BackupFileResult result;
    for (int attempt = 1; attempt <= NameTries; ++attempt) {
        const QString file = attempt == 1 ? name : name.chopped(5) + QStringLiteral("-%1.json").arg(attempt);
        result = WriteBackupFile(QDir(folder).filePath(file), content);
        if (result.Error.isEmpty() || !QFile::exists(result.Path))
            return result;
    }
    return result;
}

BackupFileResult BackupFolder::SaveWriteBackup(const RadioInfoRecord& radio, const InfoImageType& image,
                                               const AnsiCodePage& page) const
{
    RadioBackup backup;
    backup.RadioType = ToRadioTypeName(radio.Model);
    backup.Saved = QDateTime::currentDateTime();
    backup.Blocks = WrittenBlockCount;
    constexpr size_t written = WrittenBlockCount * Layout::ImageSize / BackupBlockCount;
    std::copy(image.begin(), image.begin() + written, backup.Image.begin());
    return Save(backup, page);
}
