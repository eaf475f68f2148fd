// One attribute of a device in sysfs, as the cable's description and the port discovery read them.
#pragma once

#include <QString>

// The attribute's text without the line end; empty when it cannot be read. Read with a bound, as a
// made-up tree may hold anything there.
QString ReadAttribute(const QString& path);
