#include "window/AnsiWidthValidator.h"

#include "data/AnsiCodePage.h"
#include "data/ControlCharacters.h"

#include <algorithm>

namespace {
// Length of the next character at `at`, a surrogate pair counting as one.
qsizetype CharLength(const QString& text, qsizetype at)
{
    return at + 1 < text.size() && text.at(at).isHighSurrogate() && text.at(at + 1).isLowSurrogate() ? 2 : 1;
}
} // namespace

AnsiWidthValidator::AnsiWidthValidator(int width, const AnsiCodePage& page, QObject* parent)
    : QValidator(parent), byteWidth(width), codePage(page)
{
}

QString AnsiWidthValidator::FittingText(const QString& text) const
{
    qsizetype kept = 0;
    while (kept < text.size()) {
        const qsizetype next = kept + CharLength(text, kept);
        if (codePage.ToAnsi(text.left(next)).size() > byteWidth)
            break;
        kept = next;
    }
    return text.left(kept);
}

QValidator::State AnsiWidthValidator::validate(QString& input, int& pos) const
{
    if (input == accepted)
        return Acceptable;
    // What the edit inserted: the part between what it left unchanged at the start and at the end.
    const qsizetype shorter = std::min(accepted.size(), input.size());
    qsizetype head = 0;
    while (head < shorter && accepted.at(head) == input.at(head))
        ++head;
    if (head > 0 && input.at(head - 1).isHighSurrogate())
        --head;
    qsizetype tail = 0;
    while (tail < shorter - head &&
           accepted.at(accepted.size() - 1 - tail) == input.at(input.size() - 1 - tail))
        ++tail;
    if (tail > 0 && input.at(input.size() - tail).isLowSurrogate())
        --tail;

    const QString before = input.left(head);
    const QString after = input.right(tail);
    QString inserted = input.mid(head, input.size() - head - tail);
    const auto control = std::find_if(inserted.cbegin(), inserted.cend(),
                                      [](QChar c) { return IsControlCharacter(c.unicode()); });
    const bool cut = control != inserted.cend();
    if (cut) {
        inserted.truncate(control - inserted.cbegin());
        if (inserted.isEmpty())
            return Invalid; // the keystroke or paste is refused and the field stays as it was
    } else if (codePage.ToAnsi(input).size() <= byteWidth) {
        accepted = input;
        return Acceptable;
    }
    qsizetype kept = 0;
    while (kept < inserted.size()) {
        const qsizetype next = kept + CharLength(inserted, kept);
        if (codePage.ToAnsi(before + inserted.left(next) + after).size() > byteWidth)
            break;
        kept = next;
    }
    if (kept == 0)
        return Invalid; // the keystroke is refused and the field stays as it was
    input = before + inserted.left(kept) + after;
    pos = static_cast<int>(head + kept);
    accepted = input;
    return Acceptable;
}
