#include "settings/ProfileString.h"

#include <QList>

namespace {

// The section name of a header line "[name]", or nothing for any other line.
std::optional<QByteArray> SectionName(const QByteArray& line)
{
    const QByteArray t = line.trimmed();
    if (!t.startsWith('['))
        return std::nullopt;
    const qsizetype close = t.indexOf(']');
    if (close < 0)
        return std::nullopt;
    return t.mid(1, close - 1).trimmed();
}

// The key name of a line "key=value", or nothing.
std::optional<QByteArray> KeyName(const QByteArray& line)
{
    const qsizetype eq = line.indexOf('=');
    if (eq < 0)
        return std::nullopt;
    return line.left(eq).trimmed();
}

bool SameName(const QByteArray& a, const QByteArray& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

std::optional<QByteArray> FindProfileString(const QByteArray& content, const QByteArray& section,
                                            const QByteArray& key)
{
    bool inSection = false;
    bool sectionSeen = false;
    for (const QByteArray& line : content.split('\n')) {
        if (const auto name = SectionName(line)) {
            if (sectionSeen)
                break; // only the first section of that name counts
            inSection = SameName(*name, section);
            sectionSeen = inSection;
            continue;
        }
        if (!inSection)
            continue;
        if (const auto name = KeyName(line); name && SameName(*name, key))
            return line.mid(line.indexOf('=') + 1).trimmed();
    }
    return std::nullopt;
}

QByteArray SetProfileString(const QByteArray& content, const QByteArray& section, const QByteArray& key,
                            const QByteArray& value)
{
    // Keep the file's own line ending for the lines added; a last line without one gets one.
    const QByteArray eol = content.contains("\r\n") ? QByteArray("\r\n") : QByteArray("\n");
    const QByteArray cr = eol.size() == 2 ? QByteArray("\r") : QByteArray();
    QByteArray text = content;
    if (!text.isEmpty() && !text.endsWith('\n'))
        text += eol;

    QList<QByteArray> lines = text.split('\n');
    lines.removeLast(); // the empty piece after the final line ending

    qsizetype sectionLine = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (const auto name = SectionName(lines[i]); name && SameName(*name, section)) {
            sectionLine = i;
            break;
        }
    }
    if (sectionLine < 0)
        return text + '[' + section + ']' + eol + key + '=' + value + eol;

    // The section runs to the next header. A new key goes after its last line that is not blank, so
    // that a blank line separating it from the next section stays where it is.
    qsizetype lastFilled = sectionLine;
    qsizetype keyLine = -1;
    for (qsizetype i = sectionLine + 1; i < lines.size(); ++i) {
        if (SectionName(lines[i]))
            break;
        if (const auto name = KeyName(lines[i]); name && SameName(*name, key)) {
            keyLine = i;
            break;
        }
        if (!lines[i].trimmed().isEmpty())
            lastFilled = i;
    }
    // A replaced line keeps its own ending, an added one takes the file's.
    const bool withCr = keyLine >= 0 ? lines[keyLine].endsWith('\r') : !cr.isEmpty();
    const QByteArray line = key + '=' + value + (withCr ? QByteArray("\r") : QByteArray());
    if (keyLine >= 0)
        lines[keyLine] = line;
    else
        lines.insert(lastFilled + 1, line);
    return lines.join('\n') + '\n';
}
