#include "settings/ProfileString.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

// Linux has no profile functions: the file is read and written here with their rules.
ProfileValue ReadProfileString(const QString& filePath, const QByteArray& section, const QByteArray& key)
{
    const SmallFile file = ReadSmallFile(filePath, MaxProfileFileSize);
    if (file.Kind != SmallFileKind::Small)
        return {file.Kind, {}, {}};
    return {file.Kind, file.Stamp, FindProfileString(file.Content, section, key)};
}

bool WriteProfileString(const QString& filePath, const QByteArray& section, const QByteArray& key,
                        const QByteArray& value, bool createFolder)
{
    const SmallFile old = ReadSmallFile(filePath, MaxProfileFileSize);
    if (old.Kind == SmallFileKind::Other)
        return false; // never overwrite what could not be read, or what is no profile file
    const QByteArray& content = old.Content;
    if (createFolder && !QDir().mkpath(QFileInfo(filePath).absolutePath()))
        return false;
    QSaveFile file(filePath);
    // A writable file in a folder that is not (a file put there by hand) is written in place.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray updated = SetProfileString(content, section, key, value);
    if (file.write(updated) != updated.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
