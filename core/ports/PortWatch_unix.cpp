#include "ports/PortWatch.h"

#include "ports/FolderWatch.h"
#include "ports/TtyWatch.h"
#include "settings/Settings.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <sys/types.h>

#include <utility>

namespace {

// Where an alias folder can be: beside the settings file in the program directory or in the
// configuration folder (the settings file moves when the program directory is not writable), or
// the one given for tests.
QStringList AliasFolders(const ProgramSettings& settings)
{
    QStringList folders{settings.ProgramDirectory() + QStringLiteral("/dosdevices")};
    if (const QString user = ProgramSettings::UserSettingsFilePath(); !user.isEmpty())
        folders << QFileInfo(user).absolutePath() + QStringLiteral("/dosdevices");
    if (const QString given = settings.AliasDirectory(); !folders.contains(given))
        folders << given;
    return folders;
}

// The alias folders and those of the settings files.
QStringList WatchedFolders(const ProgramSettings& settings, const QStringList& aliasFolders)
{
    QStringList folders = aliasFolders;
    folders << settings.ProgramDirectory();
    if (const QString user = ProgramSettings::UserSettingsFilePath(); !user.isEmpty())
        folders << QFileInfo(user).absolutePath();
    folders.removeDuplicates();
    return folders;
}

} // namespace

struct PortWatch::Watches
{
    explicit Watches(const ProgramSettings& settings);
    bool Changed();

    // What stat says of an alias's target; all zero when there is none. A device made anew under
    // the same name (a cable plugged in again, a pseudo-terminal given the number of one just
    // closed) can have every other field as before: its inode's change time tells it apart.
    struct Target
    {
        dev_t Device = 0;
        ino_t Inode = 0;
        mode_t Mode = 0;
        dev_t Names = 0; // the device it names
        time_t MadeSeconds = 0;
        long MadeNanoseconds = 0;
        bool operator==(const Target&) const = default;
    };
    void ListAliases();
    QList<Target> Targets() const;

    QStringList aliasFolders;
    FolderWatch folders;
    TtyWatch ttys;
    QList<QByteArray> aliases; // every entry of the alias folders
    QList<Target> targets;
    bool first = true;
};

PortWatch::Watches::Watches(const ProgramSettings& settings)
    : aliasFolders(AliasFolders(settings)), folders(WatchedFolders(settings, aliasFolders)),
      ttys(settings.SysRoot())
{
    ListAliases();
    targets = Targets();
}

void PortWatch::Watches::ListAliases()
{
    aliases.clear();
    for (const QString& folder : aliasFolders) {
        const QDir dir(folder);
        for (const QString& name : dir.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
            aliases << QFile::encodeName(dir.filePath(name));
    }
}

QList<PortWatch::Watches::Target> PortWatch::Watches::Targets() const
{
    QList<Target> now;
    now.reserve(aliases.size());
    for (const QByteArray& alias : aliases) {
        struct stat st
        {
        };
        if (::stat(alias.constData(), &st) == 0)
            now.append(
                Target{st.st_dev, st.st_ino, st.st_mode, st.st_rdev, st.st_ctim.tv_sec, st.st_ctim.tv_nsec});
        else
            now.append(Target{});
    }
    return now;
}

bool PortWatch::Watches::Changed()
{
    // Every part is asked every time, so that each starts afresh from this moment.
    bool changed = std::exchange(first, false);
    if (folders.Changed()) {
        ListAliases();
        changed = true;
    }
    if (ttys.Changed())
        changed = true;
    if (QList<Target> now = Targets(); now != targets) {
        targets = std::move(now);
        changed = true;
    }
    return changed;
}

PortWatch::PortWatch(const ProgramSettings& settings) : watches(std::make_unique<Watches>(settings)) {}

PortWatch::~PortWatch() = default;

bool PortWatch::Changed()
{
    return watches->Changed();
}

bool PortWatch::Watching() const
{
    return watches->folders.Watching();
}

bool PortWatch::UsesUdev() const
{
    return watches->ttys.UsesUdev();
}
