#include "system/SystemLanguage.h"

int16_t SystemLanguageIndex()
{
    return LanguageIndexFor(QLocale::system());
}
