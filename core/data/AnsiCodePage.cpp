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

struct NumberedPage
{
    int number;
    const char* name; // as AnsiCodePageFor gives it
};

constexpr NumberedPage NumberedPages[] = {
    {874, "windows-874"},   {932, "Shift_JIS"},     {936, "GBK"},           {949, "windows-949"},
    {950, "Big5"},          {1250, "windows-1250"}, {1251, "windows-1251"}, {1252, "windows-1252"},
    {1253, "windows-1253"}, {1254, "windows-1254"}, {1255, "windows-1255"}, {1256, "windows-1256"},
    {1257, "windows-1257"}, {1258, "windows-1258"}, {65001, "UTF-8"},
};

// Each character once, a surrogate pair as one.
template <typename Visit> void ForEachCharacter(const QString& text, Visit visit)
{
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        if (!visit(text.mid(i, length)))
            return;
        i += length;
    }
}

} // namespace

QList<int> KnownCodePageNumbers()
{
    QList<int> numbers;
    for (const NumberedPage& page : NumberedPages)
        numbers << page.number;
    return numbers;
}

QByteArray KnownCodePageName(int number)
{
    for (const NumberedPage& page : NumberedPages)
        if (page.number == number)
            return page.name;
    return {};
}

int CodePageNumber(const QByteArray& name)
{
    for (const NumberedPage& page : NumberedPages)
        if (name.compare(page.name, Qt::CaseInsensitive) == 0)
            return page.number;
    QByteArray digits = name.toLower();
    if (digits.startsWith("windows-"))
        digits = digits.mid(8);
    else if (digits.startsWith("cp"))
        digits = digits.mid(2);
    bool ok = false;
    const int number = digits.toInt(&ok);
    return ok && number > 0 && number < 65536 ? number : 0;
}

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
    // One character at a time, so a cut never splits one.
    ForEachCharacter(text, [&](const QString& character) {
        const QByteArray bytes = ToAnsi(character);
        if (result.size() + bytes.size() > width)
            return false;
        result += bytes;
        return true;
    });
    return result;
}

std::optional<QString> AnsiCodePage::FirstUnstorable(const QString& text) const
{
    std::optional<QString> found;
    ForEachCharacter(text, [&](const QString& character) {
        const QByteArray bytes = ToAnsi(character);
        if (bytes.isEmpty() || bytes.contains('\0') || bytes.contains('\xFF') || FromAnsi(bytes) != character)
            found = character;
        return !found;
    });
    return found;
}
