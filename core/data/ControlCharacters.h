// Control characters in texts: C0 (U+0000 to U+001F), DEL (U+007F) and C1 (U+0080 to U+009F). A
// radio's field may hold any byte, and a text given to the program may carry a tab or a line break
// from a paste. None belongs in a field of the radio, and none may reach a terminal as it is: there an
// escape sequence acts instead of being shown.
#pragma once

#include <QString>

#include <optional>

constexpr bool IsControlCharacter(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

struct ControlCharacterAt
{
    qsizetype Position = 0; // counted in characters from 1, a surrogate pair counting as one
    char32_t Character = 0;
};

// The first control character of the text, if any.
std::optional<ControlCharacterAt> FindControlCharacter(const QString& text);
// "U+000A": how a message names the character.
QString ControlCharacterName(char32_t c);
// The text with each control character written out as a C string would have it: "\n", "\r", "\t",
// else "\x1B" (two hex digits; C1 as "\x9B"). Every other character stays as it is.
QString EscapeControlCharacters(const QString& text);
