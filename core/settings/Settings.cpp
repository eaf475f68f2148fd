#include "settings/Settings.h"

#include "settings/DecimalText.h"
#include "settings/ProfileString.h"
#include "settings/SmallFile.h"
#include "system/InstalledProgram.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <utility>

namespace {

constexpr char FileName[] = "mysetup.ini";
constexpr char Section[] = "language";
constexpr char Key[] = "comPort";

SmallFileKind KindAt(const QString& path)
{
    return StatSmallFile(path, MaxProfileFileSize).Kind;
}

} // namespace

ProgramSettings::ProgramSettings(QString programDir, QString sysfsRoot, QString aliasFolder,
                                 QString processRoot, QStringList ruleFolders)
    : programDirectory(std::move(programDir)), sysRoot(std::move(sysfsRoot)),
      aliasDir(std::move(aliasFolder)), procRoot(std::move(processRoot)),
      udevRuleFolders(std::move(ruleFolders))
{
}

QList<PortlessCable> ProgramSettings::FindPortlessCables() const
{
    return ::FindPortlessCables(SysRoot(), udevRuleFolders, procRoot);
}

QString ProgramSettings::ProgramSettingsFilePath() const
{
    return QDir(ProgramDirectory()).filePath(QString::fromLatin1(FileName));
}

// Whether the program may write the file in its own directory: the file itself when it exists,
// else the directory (a new file is created there). Something there that is no settings file (a
// device, a FIFO, a huge file) is never written: the configuration folder takes the file instead.
bool ProgramSettings::ProgramFileWritable() const
{
    // An installed program never writes into its own folders, whoever runs it (root could).
    if (IsInstalledProgramDirectory(ProgramDirectory()))
        return false;
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
QString ProgramSettings::FileToRead() const
{
    const QString primary = SettingsFilePath();
    if (KindAt(primary) == SmallFileKind::Small)
        return primary;
    const QString other =
        primary == ProgramSettingsFilePath() ? UserSettingsFilePath() : ProgramSettingsFilePath();
    return KindAt(other) == SmallFileKind::Small ? other : primary;
}

// The number the file holds now; nothing when it holds none or is no settings file. The refresh saves
// once a second, so the file is read again only when its stamp has changed since the last read.
std::optional<int16_t> ProgramSettings::StoredComPortNumber() const
{
    const QString path = FileToRead();
    const SmallFile status = StatSmallFile(path, MaxProfileFileSize);
    if (status.Kind != SmallFileKind::Small) {
        lastRead.reset();
        return std::nullopt;
    }
    if (lastRead && lastRead->Path == path && lastRead->Stamp == status.Stamp)
        return lastRead->Number;
    const ProfileValue file = ReadProfileString(path, Section, Key);
    if (file.Kind != SmallFileKind::Small) {
        lastRead.reset();
        return std::nullopt;
    }
    std::optional<int16_t> number;
    if (file.Value)
        number = ParseDecimalInt16(QString::fromLatin1(*file.Value));
    if (StampSettled(file.Stamp))
        lastRead = StoredNumber{path, file.Stamp, number};
    else
        lastRead.reset(); // a rewrite of the same size could still leave this stamp: read again
    return number;
}

QString ProgramSettings::ProgramDirectory() const
{
    if (!programDirectory.isEmpty())
        return programDirectory;
    return QCoreApplication::applicationDirPath();
}

QString ProgramSettings::UserSettingsFilePath()
{
    const QString folder = UserSettingsFolder();
    if (folder.isEmpty())
        return {}; // no home folder: there is no such place, rather than the current directory
    return QDir(folder).filePath(QString::fromLatin1(FileName));
}

QString ProgramSettings::SettingsFilePath() const
{
    return ProgramFileWritable() ? ProgramSettingsFilePath() : UserSettingsFilePath();
}

int16_t ProgramSettings::LoadComPortSetting() const
{
    return StoredComPortNumber().value_or(0);
}

bool ProgramSettings::ComPortSettingSaved(int16_t comPortNumber) const
{
    return StoredComPortNumber() == comPortNumber;
}

void ProgramSettings::SaveComPortSetting(int16_t comPortNumber) const
{
    // The file is checked again rather than remembered: a hand edit or a deleted file is noticed.
    if (StoredComPortNumber() == comPortNumber)
        return;
    const QByteArray value = QByteArray::number(comPortNumber);
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
