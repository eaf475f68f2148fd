// What to tell a user whom the system refuses a serial device: which group to join when one gives
// access, or else that the device is given to no such group and how to change that.
#pragma once

#include <QString>

#include <cstdint>

// Who the system gives a device to: its owner, its group and the permission bits.
struct DeviceAccess
{
    uint32_t OwnerId = 0;
    QString OwnerName; // empty when the number has none
    uint32_t GroupId = 0;
    QString GroupName; // empty when the number has none
    unsigned Mode = 0; // permission bits, as in 0660
};

// The advice for a device that the user's account may not open. Joining a group is advised only
// when the group's bits give read and write and the group is not root's; otherwise the text says
// who may use the device and how a udev rule gives it to dialout, the usual group of serial adapters.
QString PermissionHint(const QString& devicePath, const DeviceAccess& access);

// The same for the device at the path (a link is followed to the device); empty when its status
// cannot be read.
QString PermissionHintFor(const QString& devicePath);
