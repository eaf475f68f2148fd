// The radio's identity reply and the type-name mappings.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

struct IdentContent
{
    QString RadioIdentity; // the identity string after ToRadioTypeName
    int16_t BandIndex = 0; // the band byte, 0 to 255
};

// The identity reply's content, or nothing when the array is not an identity reply.
std::optional<IdentContent> ParseIdentReply(const QByteArray& reply);
QString ToRadioTypeName(const QString& text);
QString ToDisplayTypeName(const QString& text);
bool IsKnownRadioType(const QString& windowType, const QString& radioType);
bool IsSameRadioType(const QString& windowType, const QString& radioType);
