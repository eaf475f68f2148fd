#include "ports/PortWatch.h"

#include "ports/RegistryKey.h"
#include "system/InstalledProgram.h"

#include <QDir>
#include <QFileInfo>

#include <windows.h>

#include <vector>

namespace {

// The folder itself when it exists, else the nearest one above it that does: a folder made later is
// then noticed too.
QString ExistingFolder(QString folder)
{
    while (!folder.isEmpty() && !QFileInfo(folder).isDir()) {
        const QString parent = QFileInfo(folder).absolutePath();
        if (parent == folder)
            return {};
        folder = parent;
    }
    return folder;
}

} // namespace

// The serial-device map through a registry change notification, the folders of the settings file
// through change notifications: asking costs one wait with no time-out.
struct PortWatch::Watches
{
    explicit Watches(const ProgramSettings& settings);
    ~Watches();
    Watches(const Watches&) = delete;
    Watches& operator=(const Watches&) = delete;

    bool ArmKey();
    bool Changed();

    std::pair<HKEY, QString> mapKey; // the serial-device map's root key and its path below it
    HKEY key = nullptr;              // the map, or the key above it while the map does not exist
    bool keyIsMap = false;
    HANDLE keyEvent = nullptr;
    std::vector<HANDLE> folders; // FindFirstChangeNotification handles
    bool watching = false;
    bool first = true;
};

PortWatch::Watches::Watches(const ProgramSettings& settings) : mapKey(SplitRegistryPath(settings.SysRoot()))
{
    keyEvent = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    watching = keyEvent && mapKey.first && ArmKey();
    QStringList paths{settings.ProgramDirectory()};
    if (const QString user = UserSettingsFolder(); !user.isEmpty())
        paths << user;
    for (const QString& path : paths) {
        const QString wanted = QDir::cleanPath(path);
        const QString folder = ExistingFolder(wanted);
        const std::wstring native = QDir::toNativeSeparators(folder).toStdWString();
        // Below a folder that stands in for one not made yet, its making and its files count too.
        const BOOL subtree = folder != wanted;
        HANDLE handle =
            folder.isEmpty()
                ? INVALID_HANDLE_VALUE
                : FindFirstChangeNotificationW(native.c_str(), subtree,
                                               FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                                                   FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE |
                                                   FILE_NOTIFY_CHANGE_ATTRIBUTES);
        if (handle == INVALID_HANDLE_VALUE)
            watching = false;
        else
            folders.push_back(handle);
    }
}

PortWatch::Watches::~Watches()
{
    for (HANDLE handle : folders)
        FindCloseChangeNotification(handle);
    if (key)
        RegCloseKey(key);
    if (keyEvent)
        CloseHandle(keyEvent);
}

// Watches the map's key, or while it is missing (no port at all) the key above it, where it appears.
bool PortWatch::Watches::ArmKey()
{
    if (key && !keyIsMap) {
        RegCloseKey(key);
        key = nullptr;
    }
    if (!key) {
        keyIsMap =
            RegOpenKeyExW(mapKey.first, qUtf16Printable(mapKey.second), 0, KEY_NOTIFY, &key) == ERROR_SUCCESS;
        if (!keyIsMap) {
            const qsizetype slash = mapKey.second.lastIndexOf(u'\\');
            if (slash < 0 || RegOpenKeyExW(mapKey.first, qUtf16Printable(mapKey.second.left(slash)), 0,
                                           KEY_NOTIFY, &key) != ERROR_SUCCESS) {
                key = nullptr;
                return false;
            }
        }
    }
    return RegNotifyChangeKeyValue(key, !keyIsMap, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET,
                                   keyEvent, TRUE) == ERROR_SUCCESS;
}

bool PortWatch::Watches::Changed()
{
    // Every watch is asked every time and armed again, so that each starts afresh from this moment.
    bool changed = std::exchange(first, false) || !watching;
    if (keyEvent && WaitForSingleObject(keyEvent, 0) == WAIT_OBJECT_0) {
        changed = true;
        if (!ArmKey())
            watching = false;
    }
    for (HANDLE handle : folders) {
        if (WaitForSingleObject(handle, 0) == WAIT_OBJECT_0) {
            changed = true;
            FindNextChangeNotification(handle);
        }
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
    return watches->watching;
}

bool PortWatch::UsesUdev() const
{
    return false;
}
