// The system's default ANSI code page, in which the radio's texts are stored. A value: the owner picks
// it (the window and the command line the system's, a tool or a test its own) and hands it on.
// Windows converts with its own functions (MultiByteToWideChar, WideCharToMultiByte), so every code
// page it has works; Linux has no ANSI code page and converts with Qt's converters, the page chosen
// from the locale as Windows would choose it.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QLocale>
#include <QString>

#include <optional>

// The code page Windows would pick as ANSI code page for this locale, as a name that
// QStringEncoder knows ("GBK", "Big5", "Shift_JIS", "windows-949", "windows-1251", ... "windows-1252").
QByteArray AnsiCodePageFor(const QLocale& locale);

inline constexpr char DefaultAnsiCodePage[] = "windows-1252";

// Whether the system's converters know the code page of this name. Windows also takes a code page's
// number ("936", "cp936").
bool IsUsableCodePage(const QByteArray& name);

// The code pages the program knows by their Windows numbers, in ascending order: those a locale may
// choose (936 for GBK, 1252, ...), and UTF-8 (65001), which Windows may have as its ANSI code page.
QList<int> KnownCodePageNumbers();
// The name of a code page of that list (936: "GBK"); empty for another number.
QByteArray KnownCodePageName(int number);
// The Windows number of a code page's name ("GBK": 936, "windows-1251" or "cp1251": 1251); 0 when
// the name carries none.
int CodePageNumber(const QByteArray& name);

class AnsiCodePage
{
public:
    AnsiCodePage(); // windows-1252
    // Falls back to windows-1252 when the converter does not know the name.
    explicit AnsiCodePage(const QByteArray& name);
    static AnsiCodePage ForLocale(const QLocale& locale);
    // The system's: GetACP on Windows ("GBK" for 936, "windows-1252" for 1252); elsewhere the
    // locale's.
    static AnsiCodePage System();

    QByteArray Name() const { return name; }

    QByteArray ToAnsi(const QString& text) const;
    QString FromAnsi(QByteArrayView bytes) const;
    // The longest prefix of `text` whose conversion fits `width` bytes, cut at a character boundary,
    // so that no double-byte character is ever split.
    QByteArray ToAnsiFitting(const QString& text, int width) const;
    // The first character of the text that a text field in the radio's block cannot hold in this
    // page: one the page lacks (it would turn into another), or one whose bytes include 0x00 or 0xFF,
    // which end a text there.
    std::optional<QString> FirstUnstorable(const QString& text) const;

    friend bool operator==(const AnsiCodePage&, const AnsiCodePage&) = default;

private:
    QByteArray name;
};
