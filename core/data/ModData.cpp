#include "data/ModData.h"

#include "data/AnsiCodePage.h"

#include <QLocale>

#include <algorithm>

namespace {

constexpr uint8_t EndByte0 = 0x00;
constexpr uint8_t EndByteFF = 0xFF;

struct TextFieldPlace
{
    int32_t offset;
    int32_t width;
    QString RadioInfoRecord::*text;
};

// Indexed by TextField, which follows the order of the block.
constexpr std::array<TextFieldPlace, AllTextFields.size()> TextFieldPlaces{{
    {Layout::ProgramPassword, Width::ProgramPassword, &RadioInfoRecord::ProgramPassword},
    {Layout::DealerCode, Width::DealerCode, &RadioInfoRecord::DealerCode},
    {Layout::StockDate, Width::StockDate, &RadioInfoRecord::StockDate},
    {Layout::SellDate, Width::SellDate, &RadioInfoRecord::SellDate},
    {Layout::Seller, Width::Seller, &RadioInfoRecord::Seller},
}};

constexpr const TextFieldPlace& PlaceOf(TextField field)
{
    return TextFieldPlaces[static_cast<size_t>(field)];
}
static_assert(PlaceOf(TextField::ProgramPassword).offset == Layout::ProgramPassword &&
              PlaceOf(TextField::Seller).offset == Layout::Seller);

// The bytes of a text field up to its end: the first 0x00 or 0xFF, or the field's width.
QByteArray FieldBytes(const InfoImageType& image, int32_t offset, int32_t width)
{
    QByteArray bytes;
    for (int32_t i = 0; i < width; ++i) {
        const uint8_t b = image[static_cast<size_t>(offset + i)];
        if (b == EndByte0 || b == EndByteFF)
            break;
        bytes.append(static_cast<char>(b));
    }
    return bytes;
}

QString DecodeText(const InfoImageType& image, const AnsiCodePage& page, int32_t offset, int32_t width)
{
    const QByteArray bytes = FieldBytes(image, offset, width);
    // A text that used the whole field leaves no room for the end marker.
    return FixedText(page.FromAnsi(bytes), width, bytes.size() < width);
}

int16_t Bit(uint8_t byte, int bit)
{
    return static_cast<int16_t>((byte >> bit) & 1);
}

} // namespace

QString FixedText(const QString& text, int width, bool endMarker)
{
    QString field = text.left(width);
    if (endMarker && field.size() < width)
        field.append(QChar(u'\0'));
    return field.leftJustified(width, u' ', true);
}

QString TrimText(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == u' ')
        --end;
    QString trimmed = text.left(end);
    const qsizetype nul = trimmed.indexOf(QChar(u'\0'));
    if (nul >= 0)
        trimmed.truncate(nul);
    return trimmed;
}

InfoImageType PutImageText(InfoImageType image, int32_t offset, const QString& text, int32_t width,
                           const AnsiCodePage& page)
{
    if (offset < 0 || width < 0 || offset + width > Layout::ImageSize)
        return image;
    const QByteArray bytes = page.ToAnsiFitting(text, width);
    for (int32_t i = 0; i < width; ++i)
        image[static_cast<size_t>(offset + i)] = i < bytes.size() ? static_cast<uint8_t>(bytes.at(i)) : 0;
    return image;
}

RadioInfoRecord DecodeInfo(const InfoImageType& image, const AnsiCodePage& page, RadioInfoRecord record)
{
    const auto text = [&](int32_t offset, int32_t width) { return DecodeText(image, page, offset, width); };
    record.BandIndex = image[Layout::BandIndex];
    record.AreaCode = page.FromAnsi(FieldBytes(image, Layout::AreaCode, Layout::AreaCodeWidth));

    record.SerialNumber = text(Layout::SerialNumber, Width::SerialNumber);
    record.ProductionDate = text(Layout::ProductionDate, Width::ProductionDate);
    record.ManufactureCode = text(Layout::ManufactureCode, Width::ManufactureCode);
    record.UserCode = text(Layout::UserCode, Width::UserCode);
    record.ProgramPassword = text(Layout::ProgramPassword, Width::ProgramPassword);
    record.MaintenanceDate = text(Layout::MaintenanceDate, Width::MaintenanceDate);
    record.DealerCode = text(Layout::DealerCode, Width::DealerCode);
    record.StockDate = text(Layout::StockDate, Width::StockDate);
    record.SellDate = text(Layout::SellDate, Width::SellDate);
    record.Seller = text(Layout::Seller, Width::Seller);
    record.MaintenanceDescription = text(Layout::MaintenanceDescription, Width::MaintenanceDescription);

    const uint8_t switches1 = image[Layout::Switches1];
    const uint8_t switches2 = image[Layout::Switches2];
    record.FiveTone = Bit(switches1, 7);
    record.TwoTone = Bit(switches1, 6);
    record.Dtmf = Bit(switches1, 5);
    record.Scramble = Bit(switches1, 4);
    record.FactoryMode = Bit(switches1, 3);
    record.BandSetting = Bit(switches1, 2);
    record.Kill = Bit(switches2, 0);
    record.Faint = Bit(switches2, 1);
    return record;
}

ImageSpan TextFieldSpan(TextField field)
{
    return {PlaceOf(field).offset, PlaceOf(field).width};
}

QString ImageFieldText(const InfoImageType& image, TextField field, const AnsiCodePage& page)
{
    const TextFieldPlace& place = PlaceOf(field);
    return TrimText(DecodeText(image, page, place.offset, place.width));
}

InfoImageType EncodeInfo(InfoImageType image, const RadioInfoRecord& record, const AnsiCodePage& page,
                         TextFieldSet encode)
{
    // The window only offers bands 0 to 18 and the radio sends a byte, so this holds; the clamp keeps
    // a wrong value from wrapping into another band.
    image[Layout::BandIndex] = static_cast<uint8_t>(std::clamp<int>(record.BandIndex, 0, 255));
    for (TextField field : AllTextFields) {
        if (!encode.Contains(field))
            continue;
        const TextFieldPlace& place = PlaceOf(field);
        image = PutImageText(image, place.offset, TrimText(record.*place.text), place.width, page);
    }
    const uint8_t bandSetting = record.BandSetting != 0 ? 0x04 : 0x00;
    image[Layout::Switches1] = static_cast<uint8_t>((image[Layout::Switches1] & ~0x04) | bandSetting);
    return image;
}

RadioInfoRecord SetDefaultInfo(const QDate& today)
{
    RadioInfoRecord record;
    record.FiveTone = 1;
    record.TwoTone = 1;
    record.Dtmf = 1;
    record.Scramble = 0;
    record.Kill = 0;
    record.Faint = 0;
    record.FactoryMode = 0;
    record.BandSetting = 0;
    record.BandIndex = 0;
    record.ProgramPassword = FixedText({}, Width::ProgramPassword, true);
    record.SerialNumber = FixedText(today.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral("00000001"),
                                    Width::SerialNumber, true);
    record.ProductionDate =
        FixedText(QLocale::system().toString(today, QLocale::ShortFormat), Width::ProductionDate, true);
    record.ManufactureCode = FixedText(today.toString(QStringLiteral("MM")) + QStringLiteral("-1-E-1"),
                                       Width::ManufactureCode, true);
    record.UserCode = FixedText(QStringLiteral("001A"), Width::UserCode, true);
    record.MaintenanceDate = FixedText({}, Width::MaintenanceDate, true);
    record.DealerCode = FixedText({}, Width::DealerCode, true);
    record.StockDate = FixedText({}, Width::StockDate, true);
    record.SellDate = FixedText({}, Width::SellDate, true);
    record.Seller = FixedText({}, Width::Seller, true);
    record.MaintenanceDescription = FixedText({}, Width::MaintenanceDescription, true);
    record.Version = QStringLiteral("V1.00");
    record.AreaCode = QStringLiteral("0595");
    record.Model = QStringLiteral("RZ614UV");
    return record;
}
