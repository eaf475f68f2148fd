// The caption language, chosen once at start-up from the system locale.
#pragma once

#include <QLocale>

#include <cstdint>

// 1 English, 2 Chinese; 0 until the window has set its captions.
extern int16_t LanguageIndex;

// Chinese exactly for Chinese as spoken in China; Taiwan, Hong Kong, Singapore and every other
// locale get English.
int16_t LanguageIndexFor(const QLocale& locale);

// Back to 0, for tests.
void ResetLanguageIndex();
