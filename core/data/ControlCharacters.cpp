#include "data/ControlCharacters.h"

namespace {

QString Hex(char32_t c, int digits)
{
    return QStringLiteral("%1").arg(uint(c), digits, 16, QChar(u'0')).toUpper();
}

} // namespace

std::optional<ControlCharacterAt> FindControlCharacter(const QString& text)
{
    qsizetype position = 0;
    for (qsizetype at = 0; at < text.size(); ++at) {
        ++position;
        if (text.at(at).isHighSurrogate() && at + 1 < text.size() && text.at(at + 1).isLowSurrogate()) {
            ++at; // a character outside the first plane is never a control character
            continue;
        }
        if (IsControlCharacter(text.at(at).unicode()))
            return ControlCharacterAt{position, text.at(at).unicode()};
    }
    return std::nullopt;
}

QString ControlCharacterName(char32_t c)
{
    return QStringLiteral("U+") + Hex(c, 4);
}

QString EscapeControlCharacters(const QString& text)
{
    if (!FindControlCharacter(text))
        return text;
    QString escaped;
    escaped.reserve(text.size() + 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\n':
            escaped += QStringLiteral("\\n");
            break;
        case u'\r':
            escaped += QStringLiteral("\\r");
            break;
        case u'\t':
            escaped += QStringLiteral("\\t");
            break;
        default:
            if (IsControlCharacter(c.unicode()))
                escaped += QStringLiteral("\\x") + Hex(c.unicode(), 2);
            else
                escaped += c;
        }
    }
    return escaped;
}
