// The system's default ANSI code page, in which the radio's texts are stored. A value: the owner picks
// it (the window and the command line the system's, a tool or a test its own) and hands it on.
// Windows converts with its own functions (MultiByteToWideChar, WideCharToMultiByte), so every code
// page it has works; Linux has no ANSI code page and converts with Qt's converters, the page chosen
// from the locale as Windows would choose it.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QLocale>
#include <QString>

// The code page Windows would pick as ANSI code page for this locale, as a name that
// QStringEncoder knows ("GBK", "Big5", "Shift_JIS", "windows-949", "windows-1251", ... "windows-1252").
QByteArray AnsiCodePageFor(const QLocale& locale);

inline constexpr char DefaultAnsiCodePage[] = "windows-1252";

// Whether the system's converters know the code page of this name. Windows also takes a code page's
// number ("936", "cp936").
bool IsUsableCodePage(const QByteArray& name);

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

    friend bool operator==(const AnsiCodePage&, const AnsiCodePage&) = default;

private:
    QByteArray name;
};
