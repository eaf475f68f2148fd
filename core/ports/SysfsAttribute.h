// One attribute of a device in sysfs, as the cable's description and the port discovery read them.
#pragma once

#include <QString>

// The attribute's text without the line end; empty when it cannot be read or is no regular file of
// at most a page or so. Never waits: a made-up tree may hold a FIFO or a device there.
QString ReadAttribute(const QString& path);
