#include "data/AnsiCodePage.h"

#include <windows.h>

#include <array>
#include <optional>

namespace {

struct NamedPage
{
    const char* name;
    UINT number;
};

// The names the program gives the double-byte pages, as Qt's converters know them elsewhere.
constexpr std::array<NamedPage, 5> NamedPages{{
    {"Shift_JIS", 932},
    {"GBK", 936},
    {"windows-949", 949},
    {"Big5", 950},
    {"UTF-8", CP_UTF8},
}};

std::optional<UINT> Digits(QByteArrayView text)
{
    bool ok = false;
    const uint number = text.toByteArray().toUInt(&ok);
    return ok && number > 0 && number < 65536 ? std::optional<UINT>(number) : std::nullopt;
}

// "GBK", "windows-1251", "cp1251" or "1251".
std::optional<UINT> PageNumber(const QByteArray& name)
{
    for (const NamedPage& page : NamedPages)
        if (name.compare(page.name, Qt::CaseInsensitive) == 0)
            return page.number;
    const QByteArray lower = name.toLower();
    if (lower.startsWith("windows-"))
        return Digits(QByteArrayView(lower).sliced(8));
    if (lower.startsWith("cp"))
        return Digits(QByteArrayView(lower).sliced(2));
    return Digits(lower);
}

QByteArray PageName(UINT number)
{
    for (const NamedPage& page : NamedPages)
        if (page.number == number)
            return page.name;
    return "windows-" + QByteArray::number(number);
}

UINT PageOf(const QByteArray& name)
{
    return PageNumber(name).value_or(1252);
}

} // namespace

bool IsUsableCodePage(const QByteArray& name)
{
    const std::optional<UINT> number = PageNumber(name);
    return number && IsValidCodePage(*number);
}

AnsiCodePage AnsiCodePage::System()
{
    return AnsiCodePage(PageName(GetACP()));
}

// Characters the page lacks become its default character ('?'), as Windows programs write them.
QByteArray AnsiCodePage::ToAnsi(const QString& text) const
{
    if (text.isEmpty())
        return {};
    const UINT page = PageOf(name);
    const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
    const int length = WideCharToMultiByte(page, 0, wide, int(text.size()), nullptr, 0, nullptr, nullptr);
    QByteArray bytes(length, Qt::Uninitialized);
    WideCharToMultiByte(page, 0, wide, int(text.size()), bytes.data(), length, nullptr, nullptr);
    return bytes;
}

QString AnsiCodePage::FromAnsi(QByteArrayView bytes) const
{
    if (bytes.isEmpty())
        return {};
    const UINT page = PageOf(name);
    const int length = MultiByteToWideChar(page, 0, bytes.data(), int(bytes.size()), nullptr, 0);
    QString text(length, Qt::Uninitialized);
    MultiByteToWideChar(page, 0, bytes.data(), int(bytes.size()), reinterpret_cast<wchar_t*>(text.data()),
                        length);
    return text;
}
