#include "link/PermissionHint.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>

namespace {

class PermissionText
{
    Q_DECLARE_TR_FUNCTIONS(PermissionText)
};

QString NameOrNumber(const QString& name, uint32_t id)
{
    return name.isEmpty() ? QString::number(id) : name;
}

} // namespace

QString PermissionHint(const QString& devicePath, const DeviceAccess& access)
{
    constexpr unsigned GroupReadWrite = 0060;
    const bool groupGivesAccess = (access.Mode & GroupReadWrite) == GroupReadWrite;
    // Membership of root's group comes close to being root, and a group without a name cannot be
    // joined: neither is advised.
    if (groupGivesAccess && access.GroupId != 0 && !access.GroupName.isEmpty())
        return PermissionText::tr(
                   "Your user account may not use %1. It must belong to the group \"%2\", which "
                   "owns the device: run  sudo usermod -aG %2 $USER  and log in again.")
            .arg(devicePath, access.GroupName);

    const QString who =
        access.OwnerId == 0
            ? PermissionText::tr("The system gives %1 to no ordinary user (owner %2, group %3, mode %4).")
            : PermissionText::tr("Only the user %2 may use %1 (group %3, mode %4).");
    const QString whoMayUse = who.arg(devicePath, NameOrNumber(access.OwnerName, access.OwnerId),
                                      NameOrNumber(access.GroupName, access.GroupId),
                                      QStringLiteral("%1").arg(access.Mode & 07777, 4, 8, QChar(u'0')));
    return PermissionText::tr(
               "%1 A udev rule can give it to the group dialout, the usual group of serial "
               "adapters: put the line  KERNEL==\"%2\", GROUP=\"dialout\", MODE=\"0660\"  into a "
               "file such as /etc/udev/rules.d/50-serial.rules, run  sudo udevadm trigger  and  "
               "sudo usermod -aG dialout $USER , and log in again.",
               "%1: the sentence that says who may use the device")
        .arg(whoMayUse, QFileInfo(devicePath).fileName());
}

QString PermissionHintFor(const QString& devicePath)
{
    const QString device = QFileInfo(devicePath).canonicalFilePath();
    struct stat st
    {
    };
    if (device.isEmpty() || ::stat(QFile::encodeName(device).constData(), &st) != 0)
        return {};
    DeviceAccess access;
    access.OwnerId = st.st_uid;
    if (const passwd* user = ::getpwuid(st.st_uid))
        access.OwnerName = QString::fromLocal8Bit(user->pw_name);
    access.GroupId = st.st_gid;
    if (const group* owners = ::getgrgid(st.st_gid))
        access.GroupName = QString::fromLocal8Bit(owners->gr_name);
    access.Mode = st.st_mode & 07777;
    return PermissionHint(device, access);
}
