#include "settings/ComPorts.h"

// The fixed list of 256 names belongs to one Windows version only. Linux always has the list of
// discovered devices, and the check cannot fail, so there is no message.
bool DetectSystemType()
{
    return false;
}
