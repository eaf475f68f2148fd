#include "system/SystemType.h"

// The fixed list of 256 names belongs to one Windows version only. Linux always has the list of
// discovered devices, and the check cannot fail, so there is no message.
std::optional<bool> DetectSystemType()
{
    return false;
}
