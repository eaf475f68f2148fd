#include "cli/TerminalText.h"

#include "data/ControlCharacters.h"

#include <QList>

namespace {

bool IsWide(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x1100 && u <= 0x115F) || (u >= 0x2E80 && u <= 0xA4CF) || (u >= 0xAC00 && u <= 0xD7A3) ||
           (u >= 0xF900 && u <= 0xFAFF) || (u >= 0xFE30 && u <= 0xFE4F) || (u >= 0xFF00 && u <= 0xFF60) ||
           (u >= 0xFFE0 && u <= 0xFFE6);
}

// Marks that stay on the line of the character before them, or of the one after them.
bool IsClosing(QChar c)
{
    return QStringView(u"，。、；：！？）」』》】”’,.;:!?)").contains(c);
}
bool IsOpening(QChar c)
{
    return QStringView(u"（「『《【“‘(").contains(c);
}

struct Piece
{
    QString text;
    bool spaceBefore = false;
};

// The pieces a line may break between: words, and each Chinese character with its marks.
QList<Piece> Pieces(const QString& text)
{
    QList<Piece> pieces;
    Piece current;
    bool space = false;
    const auto flush = [&pieces, &current] {
        if (!current.text.isEmpty())
            pieces.append(current);
        current = {};
    };
    for (const QChar c : text) {
        if (c == u' ') {
            flush();
            space = true;
            continue;
        }
        if (!current.text.isEmpty()) {
            const QChar previous = current.text.back();
            if ((IsWide(previous) || IsWide(c)) && !IsClosing(c) && !IsOpening(previous))
                flush();
        }
        if (current.text.isEmpty()) {
            current.spaceBefore = space;
            space = false;
        }
        current.text += c;
    }
    flush();
    return pieces;
}

} // namespace

int TerminalWidth(const QString& text)
{
    int width = 0;
    for (const QChar c : text)
        width += IsWide(c) ? 2 : 1;
    return width;
}

QString PadToColumns(const QString& text, int columns)
{
    return text + QString(qMax(0, columns - TerminalWidth(text)), u' ');
}

QString WrapIndented(const QString& text, int indent, int width)
{
    QString result;
    QString line;
    int lineWidth = 0;
    for (const Piece& piece : Pieces(text)) {
        const int pieceWidth = TerminalWidth(piece.text);
        bool space = piece.spaceBefore && !line.isEmpty();
        if (!line.isEmpty() && lineWidth + (space ? 1 : 0) + pieceWidth > width - indent) {
            result += line + u'\n' + QString(indent, u' ');
            line.clear();
            lineWidth = 0;
            space = false;
        }
        if (space)
            line += u' ';
        line += piece.text;
        lineWidth += (space ? 1 : 0) + pieceWidth;
    }
    return result + line;
}

QString JsonForTerminal(const QJsonDocument& document, QJsonDocument::JsonFormat format)
{
    const QString json = QString::fromUtf8(document.toJson(format).trimmed());
    QString escaped;
    escaped.reserve(json.size());
    // The writer has escaped those below U+0020 in strings, and a line break outside them is layout;
    // DEL and C1 appear only inside strings.
    for (const QChar c : json) {
        if (c.unicode() >= 0x7F && IsControlCharacter(c.unicode()))
            escaped += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
        else
            escaped += c;
    }
    return escaped;
}
