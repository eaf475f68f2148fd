// The radio's information record and the 256-byte block image it is decoded from and encoded into.
#pragma once

#include "data/TextFieldSet.h"

#include <QDate>
#include <QString>

#include <array>
#include <cstdint>

struct RadioInfoRecord
{
    int16_t FiveTone = 0;
    int16_t TwoTone = 0;
    int16_t Dtmf = 0;
    int16_t Scramble = 0;
    int16_t Kill = 0;
    int16_t Faint = 0;
    int16_t FactoryMode = 0;
    int16_t BandSetting = 0;
    int16_t BandIndex = 0;
    // Fixed-width texts: always exactly their width in characters (see FixedText).
    QString ProgramPassword;
    QString SerialNumber;
    QString ProductionDate;
    QString ManufactureCode;
    QString UserCode;
    QString MaintenanceDate;
    QString DealerCode;
    QString StockDate;
    QString SellDate;
    QString Seller;
    QString MaintenanceDescription;
    QString Version;
    QString Model;
    QString AreaCode;
};

// Offsets and widths of the block image.
namespace Layout {
constexpr int32_t ImageSize = 256;
constexpr int32_t BandIndex = 7;
constexpr int32_t AreaCode = 9, AreaCodeWidth = 4;
constexpr int32_t Switches1 = 13, Switches2 = 14;
constexpr int32_t SerialNumber = 16, ProductionDate = 32, ManufactureCode = 48, UserCode = 56;
constexpr int32_t ProgramPassword = 60, MaintenanceDate = 64, DealerCode = 80, StockDate = 96;
constexpr int32_t SellDate = 112, Seller = 128, MaintenanceDescription = 144;
} // namespace Layout

namespace Width {
constexpr int32_t ProgramPassword = 4, SerialNumber = 16, ProductionDate = 16, ManufactureCode = 8;
constexpr int32_t UserCode = 4, MaintenanceDate = 16, DealerCode = 16, StockDate = 16, SellDate = 16;
constexpr int32_t Seller = 16, MaintenanceDescription = 64;
} // namespace Width

using InfoImageType = std::array<uint8_t, Layout::ImageSize>;

class AnsiCodePage;

// Start-up values; `today` stands for the local date.
RadioInfoRecord SetDefaultInfo(const QDate& today = QDate::currentDate());
// The record of an image. Model and Version are not in the image: they come from `record`.
RadioInfoRecord DecodeInfo(const InfoImageType& image, const AnsiCodePage& page, RadioInfoRecord record = {});
// `image` with the record's band, its band-setting switch and the texts of the fields in `encode` put
// in (each zero-filled to its field as PutImageText does). Every other byte stays as `image` holds it,
// the bytes of the text fields left out of `encode` included, so that text the code page cannot
// decode and encode again unchanged goes back byte for byte.
InfoImageType EncodeInfo(InfoImageType image, const RadioInfoRecord& record, const AnsiCodePage& page,
                         TextFieldSet encode = TextFieldSet::All());
// Where a text field lies in the image.
struct ImageSpan
{
    int32_t Offset = 0;
    int32_t Width = 0;
};
ImageSpan TextFieldSpan(TextField field);
// What a text field of `image` reads as, passed through TrimText: the text a read shows for it.
QString ImageFieldText(const InfoImageType& image, TextField field, const AnsiCodePage& page);
// The image with `text` zero-filled into `width` bytes at `offset`.
InfoImageType PutImageText(InfoImageType image, int32_t offset, const QString& text, int32_t width,
                           const AnsiCodePage& page);
QString TrimText(const QString& text);

// Stores `text` into a field of `width` characters: cut or padded with spaces; with `endMarker`
// a U+0000 follows the text when there is room for it.
QString FixedText(const QString& text, int width, bool endMarker);
