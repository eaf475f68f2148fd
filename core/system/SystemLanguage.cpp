#include "system/SystemLanguage.h"

int16_t LanguageIndexFor(const QLocale& locale)
{
    return locale.language() == QLocale::Chinese && locale.territory() == QLocale::China ? ChineseLanguage
                                                                                         : EnglishLanguage;
}

int16_t LanguageIndexForLcid(uint32_t lcid)
{
    return lcid == 0x0804 ? ChineseLanguage : EnglishLanguage;
}

QLocale LanguageLocale(int16_t languageIndex)
{
    return languageIndex == ChineseLanguage ? QLocale(QLocale::Chinese, QLocale::China)
                                            : QLocale(QLocale::English, QLocale::UnitedStates);
}
