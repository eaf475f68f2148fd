#include "data/AnsiCodePage.h"

#include <utility>

namespace {

struct LanguagePage
{
    QLocale::Language language;
    const char* codePage;
};

// Languages whose Windows ANSI code page is not 1252. Chinese depends on the territory and is
// handled on its own.
constexpr LanguagePage LanguagePages[] = {
    {QLocale::Japanese, "Shift_JIS"},      {QLocale::Korean, "windows-949"},
    {QLocale::Thai, "windows-874"},        {QLocale::Russian, "windows-1251"},
    {QLocale::Ukrainian, "windows-1251"},  {QLocale::Belarusian, "windows-1251"},
    {QLocale::Bulgarian, "windows-1251"},  {QLocale::Macedonian, "windows-1251"},
    {QLocale::Kazakh, "windows-1251"},     {QLocale::Kyrgyz, "windows-1251"},
    {QLocale::Tatar, "windows-1251"},      {QLocale::Mongolian, "windows-1251"},
    {QLocale::Bashkir, "windows-1251"},    {QLocale::Polish, "windows-1250"},
    {QLocale::Czech, "windows-1250"},      {QLocale::Slovak, "windows-1250"},
    {QLocale::Hungarian, "windows-1250"},  {QLocale::Slovenian, "windows-1250"},
    {QLocale::Croatian, "windows-1250"},   {QLocale::Romanian, "windows-1250"},
    {QLocale::Albanian, "windows-1250"},   {QLocale::Greek, "windows-1253"},
    {QLocale::Turkish, "windows-1254"},    {QLocale::Hebrew, "windows-1255"},
    {QLocale::Arabic, "windows-1256"},     {QLocale::Persian, "windows-1256"},
    {QLocale::Urdu, "windows-1256"},       {QLocale::Estonian, "windows-1257"},
    {QLocale::Latvian, "windows-1257"},    {QLocale::Lithuanian, "windows-1257"},
    {QLocale::Vietnamese, "windows-1258"},
};

} // namespace

QByteArray AnsiCodePageFor(const QLocale& locale)
{
    const auto language = locale.language();
    if (language == QLocale::Chinese) {
        const auto territory = locale.territory();
        if (territory == QLocale::Taiwan || territory == QLocale::HongKong || territory == QLocale::Macao)
            return "Big5";
        if (territory == QLocale::AnyTerritory && locale.script() == QLocale::TraditionalChineseScript)
            return "Big5";
        return "GBK";
    }
    // Serbian, Bosnian, Azerbaijani and Uzbek follow their script.
    const bool cyrillic = locale.script() == QLocale::CyrillicScript;
    switch (language) {
    case QLocale::Serbian:
    case QLocale::Bosnian:
        return cyrillic ? "windows-1251" : "windows-1250";
    case QLocale::Azerbaijani:
    case QLocale::Uzbek:
        return cyrillic ? "windows-1251" : "windows-1254";
    default:
        break;
    }
    for (const auto& entry : LanguagePages)
        if (entry.language == language)
            return entry.codePage;
    return DefaultAnsiCodePage;
}

AnsiCodePage::AnsiCodePage() : name(DefaultAnsiCodePage) {}

AnsiCodePage::AnsiCodePage(const QByteArray& pageName)
    : name(IsUsableCodePage(pageName) ? pageName : QByteArray(DefaultAnsiCodePage))
{
}

AnsiCodePage AnsiCodePage::ForLocale(const QLocale& locale)
{
    return AnsiCodePage(AnsiCodePageFor(locale));
}

QByteArray AnsiCodePage::ToAnsiFitting(const QString& text, int width) const
{
    QByteArray result;
    // One character (surrogate pairs kept together) at a time, so a cut never splits one.
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QByteArray bytes = ToAnsi(text.mid(i, length));
        if (result.size() + bytes.size() > width)
            break;
        result += bytes;
        i += length;
    }
    return result;
}
