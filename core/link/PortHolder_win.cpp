#include "link/PortHolder.h"

// Windows answers a second opening with "access denied" alone.
PortHolders FindPortHolders(const QString&)
{
    return {};
}

QString SerialLockFilePath(const QString&)
{
    return {};
}
