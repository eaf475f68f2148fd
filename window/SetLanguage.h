// The caption language, chosen once at start-up from the system locale.
#pragma once

#include <QLocale>

#include <cstdint>

// Chinese exactly for Chinese as spoken in China; Taiwan, Hong Kong, Singapore and every other
// locale get English.
int16_t LanguageIndexFor(const QLocale& locale);
// Windows' rule, on the system's default locale: 0x0804, Chinese (PRC), gives Chinese.
int16_t LanguageIndexForLcid(uint32_t lcid);
// The caption language of this system: GetSystemDefaultLCID on Windows, the locale elsewhere.
int16_t SystemLanguageIndex();
