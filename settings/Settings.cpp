#include "settings/Settings.h"

#include "settings/DecimalText.h"
#include "settings/ProfileString.h"
#include "settings/SmallFile.h"

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

SmallFileKind KindAt(const QString& path)
{
    return StatSmallFile(path, MaxProfileFileSize).Kind;
}

// Whether the program may write the file in its own directory: the file itself when it exists,
// else the directory (a new file is created there). Something there that is no settings file (a
// device, a FIFO, a huge file) is never written: the configuration folder takes the file instead.
bool ProgramFileWritable()
{
    const QString path = ProgramSettingsFilePath();
    switch (KindAt(path)) {
    case SmallFileKind::Small:
        return QFileInfo(path).isWritable();
    case SmallFileKind::Other:
        return false;
    case SmallFileKind::Missing:
        break;
    }
    const QFileInfo directory(ProgramDirectory());
    return directory.isDir() && directory.isWritable();
}

// The file that LoadComPortSetting reads: the one that is written when it is a settings file, else
// the other one (a file shipped read-only beside the program, or one left in the configuration
// folder).
QString FileToRead()
{
    const QString primary = SettingsFilePath();
    if (KindAt(primary) == SmallFileKind::Small)
        return primary;
    const QString other =
        primary == ProgramSettingsFilePath() ? UserSettingsFilePath() : ProgramSettingsFilePath();
    return KindAt(other) == SmallFileKind::Small ? other : primary;
}

// The number last read, with the file's stamp: the refresh saves once a second, and the file is
// read again only when it has changed since.
struct StoredNumber
{
    QString Path;
    FileStamp Stamp;
    std::optional<int16_t> Number;
};
std::optional<StoredNumber> g_lastRead;

// The number the file holds now; nothing when it holds none or is no settings file.
std::optional<int16_t> StoredComPortNumber()
{
    const QString path = FileToRead();
    const SmallFile status = StatSmallFile(path, MaxProfileFileSize);
    if (status.Kind != SmallFileKind::Small) {
        g_lastRead.reset();
        return std::nullopt;
    }
    if (g_lastRead && g_lastRead->Path == path && g_lastRead->Stamp == status.Stamp)
        return g_lastRead->Number;
    const SmallFile file = ReadSmallFile(path, MaxProfileFileSize);
    if (file.Kind != SmallFileKind::Small) {
        g_lastRead.reset();
        return std::nullopt;
    }
    std::optional<int16_t> number;
    if (const auto value = FindProfileString(file.Content, Section, Key))
        number = ParseDecimalInt16(QString::fromLatin1(*value));
    if (StampSettled(file.Stamp))
        g_lastRead = StoredNumber{path, file.Stamp, number};
    else
        g_lastRead.reset(); // a rewrite of the same size could still leave this stamp: read again
    return number;
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

void LoadComPortSetting()
{
    ComPortNumber = StoredComPortNumber().value_or(0);
}

bool ComPortSettingSaved()
{
    return StoredComPortNumber() == ComPortNumber;
}

void SaveComPortSetting()
{
    // The file is checked again rather than remembered: a hand edit or a deleted file is noticed.
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
