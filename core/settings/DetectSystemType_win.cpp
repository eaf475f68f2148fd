#include "settings/ComPorts.h"

#include <windows.h>

std::optional<bool> DetectSystemType()
{
    // The extended record, 156 bytes, as the check has always asked for it. Windows 8.1 and later
    // report 6.2 to a program that does not declare them in its manifest; that is never 6.0 either.
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
