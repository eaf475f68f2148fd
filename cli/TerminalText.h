// Text laid out for a terminal, where a Chinese character takes two columns: the record's labels
// padded to one column, the help's paragraphs wrapped at a width. Texts from a radio or a file reach
// it with their control characters escaped (data/ControlCharacters.h).
#pragma once

#include <QJsonDocument>
#include <QString>

// The columns the text takes on a terminal: two for each wide (East Asian) character.
int TerminalWidth(const QString& text);
// The text, then spaces up to `columns`.
QString PadToColumns(const QString& text, int columns);
// The text in lines of at most `width` columns, each after the first indented by `indent` spaces.
// Lines break at spaces, and between Chinese characters, never before a closing mark such as "，".
QString WrapIndented(const QString& text, int indent, int width);
// The document as JSON text, every control character in it escaped: JSON's writer escapes those below
// U+0020 itself, but leaves DEL and the C1 characters, which a terminal may act on, as they are.
QString JsonForTerminal(const QJsonDocument& document, QJsonDocument::JsonFormat format);
