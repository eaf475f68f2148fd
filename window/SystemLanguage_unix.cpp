#include "window/SetLanguage.h"

int16_t SystemLanguageIndex()
{
    return LanguageIndexFor(QLocale::system());
}
