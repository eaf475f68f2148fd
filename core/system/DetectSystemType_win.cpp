#include "system/SystemType.h"

#include "ports/ComPorts.h"

#include <windows.h>

std::optional<bool> DetectSystemType()
{
    // The extended record, 156 bytes, as the check has always asked for it. The programs' manifests
    // declare Windows 8 to 11, so that those report their own versions; none of them is 6.0.
    OSVERSIONINFOEXA version{};
    static_assert(sizeof version == 156);
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const BOOL ok = GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version));
#pragma GCC diagnostic pop
    if (!ok)
        return std::nullopt;
    return IsFixedPortListVersion(version.dwPlatformId, version.dwMajorVersion, version.dwMinorVersion);
}
