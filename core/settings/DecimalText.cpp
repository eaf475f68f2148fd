#include "settings/DecimalText.h"

#include <limits>

std::optional<int16_t> ParseDecimalInt16(QStringView text)
{
    QStringView t = text.trimmed();
    bool negative = false;
    if (!t.isEmpty() && (t.front() == u'-' || t.front() == u'+')) {
        negative = t.front() == u'-';
        t = t.mid(1);
    }
    if (t.isEmpty())
        return std::nullopt;
    // Accumulate in a wider type and stop as soon as the value leaves the 16-bit range, so any
    // number of digits (leading zeros included) is handled without overflow.
    int32_t value = 0;
    constexpr int32_t limit = std::numeric_limits<int16_t>::max() + 1;
    for (QChar c : t) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
        if (value > limit)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max())
        return std::nullopt;
    return static_cast<int16_t>(value);
}
