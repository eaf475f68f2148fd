#include "link/ModelCheck.h"

#include "data/ModData.h"
#include "link/Frames.h"

#include <array>
#include <cstdint>

namespace {
struct TypeNameRow
{
    const char16_t* identity;
    const char16_t* typeName;
};

// The protocol's mapping: the identity "RZ614U_" stands for TANGELOSU.
constexpr std::array<TypeNameRow, 3> ProtocolNames{{
    {u"RZ614UV", u"TANGELOUV"},
    {u"RZ614U_", u"TANGELOSU"},
    {u"RZ614_V", u"TANGELOSV"},
}};

// The display's mapping: here "RZ614_U" stands for TANGELOSU.
constexpr std::array<TypeNameRow, 3> DisplayNames{{
    {u"RZ614UV", u"TANGELOUV"},
    {u"RZ614_V", u"TANGELOSV"},
    {u"RZ614_U", u"TANGELOSU"},
}};

constexpr std::array<const char16_t*, 3> KnownTypes{u"TANGELOSU", u"TANGELOUV", u"TANGELOSV"};

constexpr int IdentityFirst = 1;
constexpr int IdentityLast = 7;
constexpr int BandByteAt = 8;

QString MapTypeName(const std::array<TypeNameRow, 3>& table, const QString& text)
{
    const QString tidy = TrimText(text);
    for (const TypeNameRow& row : table) {
        if (tidy == QStringView(row.identity))
            return QString::fromUtf16(row.typeName);
    }
    return tidy;
}
} // namespace

std::optional<IdentContent> ParseIdentReply(const QByteArray& reply)
{
    if (reply.size() != Proto::IdentReplySize || uint8_t(reply[0]) != Proto::IdentHead ||
        uint8_t(reply[Proto::IdentReplySize - 1]) != Proto::Ack)
        return std::nullopt;
    QString identity;
    for (int i = IdentityFirst; i <= IdentityLast; ++i) {
        const auto byte = uint8_t(reply[i]);
        if (byte == 0x00 || byte == 0xFF)
            break;
        identity.append(QChar(byte));
    }
    return IdentContent{ToRadioTypeName(identity), int16_t(uint8_t(reply[BandByteAt]))};
}

QString ToRadioTypeName(const QString& text)
{
    return MapTypeName(ProtocolNames, text);
}

QString ToDisplayTypeName(const QString& text)
{
    return MapTypeName(DisplayNames, text);
}

bool IsKnownRadioType(const QString& /*windowType*/, const QString& radioType)
{
    const QString name = ToRadioTypeName(radioType);
    for (const char16_t* known : KnownTypes) {
        if (name == QStringView(known))
            return true;
    }
    return false;
}

bool IsSameRadioType(const QString& windowType, const QString& radioType)
{
    return ToRadioTypeName(windowType) == ToRadioTypeName(radioType);
}
