// Finds words of the other language in what a program printed or showed: English prose where
// Chinese is expected, Chinese where English is. Names, numbers, options, paths and the texts that
// stay English in both languages are not prose; a caller names the rest that may stand (the radio's
// own texts, a command to type).
#pragma once

#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace OtherLanguage {

// The session messages that stay English whatever the language, and Qt's untranslated names.
inline const QStringList& AlwaysEnglish()
{
    static const QStringList texts{
        QStringLiteral("Read Complete!"),
        QStringLiteral("Write Complete!"),
        QStringLiteral("Read Failure!"),
        QStringLiteral("Write Failure!"),
        QStringLiteral("Cannot Open Communication Port."),
        QStringLiteral("Model Error"),
        QStringLiteral("PC is"),
        QStringLiteral("Radio is"),
    };
    return texts;
}

inline QString WithoutAllowed(QString text, const QStringList& allowed)
{
    for (const QStringList* list : {&AlwaysEnglish(), &allowed})
        for (const QString& piece : *list)
            if (!piece.isEmpty())
                text.replace(piece, QStringLiteral(" "));
    return text;
}

// Runs of three or more English words (letters only, separated by single spaces or a comma):
// "no reply to", "Check that the radio". Options, paths and names made of capitals and digits are
// taken out first.
inline QStringList EnglishProse(const QString& text, const QStringList& allowed = {})
{
    QString rest = WithoutAllowed(text, allowed);
    static const QRegularExpression notWords(QStringLiteral(
        R"((--?[A-Za-z][\w-]*)|(\S*[/\\]\S*)|(\b[A-Z0-9_]{2,}\b)|(\b\w+\.(ini|csv|json|rules|deb|exe|zip|md)\b))"));
    rest.replace(notWords, QStringLiteral(" | "));
    static const QRegularExpression prose(QStringLiteral(R"(\b[A-Za-z][a-z']*(?:,? [A-Za-z][a-z']*){2,}\b)"));
    QStringList found;
    for (auto it = prose.globalMatch(rest); it.hasNext();)
        found << it.next().captured();
    return found;
}

// Han characters and full-width punctuation.
inline QStringList ChineseText(const QString& text, const QStringList& allowed = {})
{
    const QString rest = WithoutAllowed(text, allowed);
    static const QRegularExpression chinese(
        QStringLiteral(R"([\x{3000}-\x{303F}\x{4E00}-\x{9FFF}\x{FF00}-\x{FFEF}]+)"));
    QStringList found;
    for (auto it = chinese.globalMatch(rest); it.hasNext();)
        found << it.next().captured();
    return found;
}

// What in `text` is not of the language expected: 2 Chinese, 1 English.
inline QStringList Foreign(const QString& text, int languageIndex, const QStringList& allowed = {})
{
    return languageIndex == 2 ? EnglishProse(text, allowed) : ChineseText(text, allowed);
}

} // namespace OtherLanguage
