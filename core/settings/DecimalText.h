// Decimal whole numbers as the settings file and the port list hold them.
#pragma once

#include <QStringView>

#include <cstdint>
#include <optional>

// The text, with surrounding blanks removed, read as a 16-bit decimal number: an optional sign and
// ASCII digits only. Empty when it is not such a number or does not fit.
std::optional<int16_t> ParseDecimalInt16(QStringView text);
