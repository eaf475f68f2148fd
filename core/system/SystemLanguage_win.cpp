#include "system/SystemLanguage.h"

#include <windows.h>

int16_t SystemLanguageIndex()
{
    return LanguageIndexForLcid(GetSystemDefaultLCID());
}
