#include "settings/Settings.h"

#include "settings/DecimalText.h"
#include "settings/InstalledProgram.h"
#include "settings/ProfileString.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <optional>

int16_t ComPortNumber = 0;

namespace {

QString g_programDirectory; // empty: the executable's directory

constexpr const char* FileName = "mysetup.ini";
const QByteArray Section = "language";
const QByteArray Key = "comPort";

QString ProgramSettingsFilePath()
{
    return QDir(ProgramDirectory()).filePath(FileName);
}

// Whether the program may write the file in its own directory: never when installed, else the file
// itself when it exists, else the directory (a new file is created there).
bool ProgramFileWritable()
{
    if (IsInstalledProgramDirectory(ProgramDirectory()))
        return false;
    const QFileInfo file(ProgramSettingsFilePath());
    if (file.exists())
        return file.isFile() && file.isWritable();
    const QFileInfo directory(ProgramDirectory());
    return directory.isDir() && directory.isWritable();
}

// The file that LoadComPortSetting reads: the one that is written when it exists, else the other
// one (a file shipped read-only beside the program, or one left in the configuration folder).
QString FileToRead()
{
    const QString primary = SettingsFilePath();
    if (QFileInfo::exists(primary))
        return primary;
    const QString other =
        primary == ProgramSettingsFilePath() ? UserSettingsFilePath() : ProgramSettingsFilePath();
    return QFileInfo::exists(other) ? other : primary;
}

// The number the file holds now; nothing when it holds none.
std::optional<int16_t> StoredComPortNumber()
{
    const auto value = ReadProfileString(FileToRead(), Section, Key);
    if (!value)
        return std::nullopt;
    return ParseDecimalInt16(QString::fromLatin1(*value));
}

} // namespace

QString ProgramDirectory()
{
    if (!g_programDirectory.isEmpty())
        return g_programDirectory;
    return QCoreApplication::applicationDirPath();
}

void SetProgramDirectory(const QString& directory)
{
    g_programDirectory = directory;
}

QString UserSettingsFilePath()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    if (folder.isEmpty())
        return {}; // no home folder: there is no such place, rather than the current directory
    return QDir(folder).filePath(FileName);
}

QString SettingsFilePath()
{
    return ProgramFileWritable() ? ProgramSettingsFilePath() : UserSettingsFilePath();
}

QString SettingsFileInUse()
{
    return FileToRead();
}

void LoadComPortSetting()
{
    ComPortNumber = StoredComPortNumber().value_or(0);
}

void SaveComPortSetting()
{
    // The file is read again rather than remembered: a hand edit or a deleted file is noticed.
    if (StoredComPortNumber() == ComPortNumber)
        return;
    const QByteArray value = QByteArray::number(ComPortNumber);
    const QString path = SettingsFilePath();
    const QString user = UserSettingsFilePath();
    if (path.isEmpty())
        return;
    if (WriteProfileString(path, Section, Key, value, path == user))
        return;
    // The directory looked writable but was not (a special file system, or the permission check
    // passed for root): the configuration folder takes the file, and is read from now on because the
    // program directory holds none.
    if (path != user && !user.isEmpty() && !QFileInfo::exists(ProgramSettingsFilePath()))
        WriteProfileString(user, Section, Key, value, true);
}
