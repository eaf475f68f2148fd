// The language the program speaks, chosen from the system once at start: Chinese exactly where the
// system's default locale is Chinese (China), English everywhere else. The window's captions and
// every other text of both programs follow the same rule.
#pragma once

#include <QLocale>

#include <cstdint>

inline constexpr int16_t EnglishLanguage = 1;
inline constexpr int16_t ChineseLanguage = 2;

// Chinese exactly for Chinese as spoken in China; Taiwan, Hong Kong, Singapore and every other
// locale get English.
int16_t LanguageIndexFor(const QLocale& locale);
// Windows' rule, on the system's default locale: 0x0804, Chinese (PRC), gives Chinese.
int16_t LanguageIndexForLcid(uint32_t lcid);
// The language of this system: GetSystemDefaultLCID on Windows, the locale elsewhere.
int16_t SystemLanguageIndex();
// The locale of the program's language, for what Qt words by locale (a list's "a, b and c"):
// Chinese (China) or English, whatever other locale the system has.
QLocale LanguageLocale(int16_t languageIndex);
