// The caption language, chosen once at start-up from the system locale.
#pragma once

#include <QLocale>

#include <cstdint>

// Chinese exactly for Chinese as spoken in China; Taiwan, Hong Kong, Singapore and every other
// locale get English.
int16_t LanguageIndexFor(const QLocale& locale);
