// Stand-in for the system's default ANSI code page, in which the radio's texts are stored.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QLocale>
#include <QString>

// The code page Windows would pick as ANSI code page for this locale, as a name that
// QStringEncoder knows ("GBK", "Big5", "Shift_JIS", "windows-949", "windows-1251", ... "windows-1252").
QByteArray AnsiCodePageFor(const QLocale& locale);

// The code page in use: from QLocale::system() unless a test set one. Falls back to windows-1252
// when the converter does not know the name.
QByteArray AnsiCodePage();
void SetAnsiCodePage(const QByteArray& name); // empty: back to the system's

QByteArray ToAnsi(const QString& text);
QString FromAnsi(QByteArrayView bytes);
// In a given code page, a name the converter knows (AnsiCodePage() gives one).
QString FromAnsi(QByteArrayView bytes, const QByteArray& codePage);

// The longest prefix of `text` whose conversion fits `width` bytes, cut at a character boundary,
// so that no double-byte character is ever split.
QByteArray ToAnsiFitting(const QString& text, int width);
QByteArray ToAnsiFitting(const QString& text, int width, const QByteArray& codePage);
