#include "window/SetLanguage.h"

#include <windows.h>

int16_t SystemLanguageIndex()
{
    return LanguageIndexForLcid(GetSystemDefaultLCID());
}
