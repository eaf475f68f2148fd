#include "data/ModData.h"

#include "data/AnsiCodePage.h"

#include <QLocale>

#include <algorithm>

RadioInfoRecord RadioInfo;
InfoImageType InfoImage{};
TextFieldSet TextFieldsToEncode = TextFieldSet::All();

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

QString DecodeText(const InfoImageType& image, int32_t offset, int32_t width, const QByteArray& codePage)
{
    const QByteArray bytes = FieldBytes(image, offset, width);
    // A text that used the whole field leaves no room for the end marker.
    return FixedText(FromAnsi(bytes, codePage), width, bytes.size() < width);
}

QString DecodeText(int32_t offset, int32_t width)
{
    return DecodeText(InfoImage, offset, width, AnsiCodePage());
}

void PutText(InfoImageType& image, int32_t offset, const QString& text, int32_t width,
             const QByteArray& codePage)
{
    if (offset < 0 || width < 0 || offset + width > Layout::ImageSize)
        return;
    const QByteArray bytes = ToAnsiFitting(text, width, codePage);
    for (int32_t i = 0; i < width; ++i)
        image[static_cast<size_t>(offset + i)] = i < bytes.size() ? static_cast<uint8_t>(bytes.at(i)) : 0;
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

void PutImageText(int32_t offset, const QString& text, int32_t width)
{
    PutText(InfoImage, offset, text, width, AnsiCodePage());
}

QString ImageFieldText(const InfoImageType& image, TextField field, const QByteArray& codePage)
{
    const TextFieldPlace& place = PlaceOf(field);
    return TrimText(DecodeText(image, place.offset, place.width, codePage));
}

void DecodeInfo()
{
    RadioInfo.BandIndex = InfoImage[Layout::BandIndex];
    RadioInfo.AreaCode = FromAnsi(FieldBytes(InfoImage, Layout::AreaCode, Layout::AreaCodeWidth));

    RadioInfo.SerialNumber = DecodeText(Layout::SerialNumber, Width::SerialNumber);
    RadioInfo.ProductionDate = DecodeText(Layout::ProductionDate, Width::ProductionDate);
    RadioInfo.ManufactureCode = DecodeText(Layout::ManufactureCode, Width::ManufactureCode);
    RadioInfo.UserCode = DecodeText(Layout::UserCode, Width::UserCode);
    RadioInfo.ProgramPassword = DecodeText(Layout::ProgramPassword, Width::ProgramPassword);
    RadioInfo.MaintenanceDate = DecodeText(Layout::MaintenanceDate, Width::MaintenanceDate);
    RadioInfo.DealerCode = DecodeText(Layout::DealerCode, Width::DealerCode);
    RadioInfo.StockDate = DecodeText(Layout::StockDate, Width::StockDate);
    RadioInfo.SellDate = DecodeText(Layout::SellDate, Width::SellDate);
    RadioInfo.Seller = DecodeText(Layout::Seller, Width::Seller);
    RadioInfo.MaintenanceDescription =
        DecodeText(Layout::MaintenanceDescription, Width::MaintenanceDescription);

    const uint8_t switches1 = InfoImage[Layout::Switches1];
    const uint8_t switches2 = InfoImage[Layout::Switches2];
    RadioInfo.FiveTone = Bit(switches1, 7);
    RadioInfo.TwoTone = Bit(switches1, 6);
    RadioInfo.Dtmf = Bit(switches1, 5);
    RadioInfo.Scramble = Bit(switches1, 4);
    RadioInfo.FactoryMode = Bit(switches1, 3);
    RadioInfo.BandSetting = Bit(switches1, 2);
    RadioInfo.Kill = Bit(switches2, 0);
    RadioInfo.Faint = Bit(switches2, 1);
}

InfoImageType EncodeImage(InfoImageType image, const RadioInfoRecord& record, TextFieldSet encode,
                          const QByteArray& codePage)
{
    // The window only offers bands 0 to 18 and the radio sends a byte, so this holds; the clamp keeps
    // a wrong value from wrapping into another band.
    image[Layout::BandIndex] = static_cast<uint8_t>(std::clamp<int>(record.BandIndex, 0, 255));
    for (TextField field : AllTextFields) {
        if (!encode.Contains(field))
            continue;
        const TextFieldPlace& place = PlaceOf(field);
        PutText(image, place.offset, TrimText(record.*place.text), place.width, codePage);
    }
    const uint8_t bandSetting = record.BandSetting != 0 ? 0x04 : 0x00;
    image[Layout::Switches1] = static_cast<uint8_t>((image[Layout::Switches1] & ~0x04) | bandSetting);
    return image;
}

void EncodeInfo()
{
    InfoImage = EncodeImage(InfoImage, RadioInfo, TextFieldsToEncode, AnsiCodePage());
}

void SetDefaultInfo()
{
    SetDefaultInfo(QDate::currentDate());
}

void SetDefaultInfo(const QDate& today)
{
    RadioInfo.FiveTone = 1;
    RadioInfo.TwoTone = 1;
    RadioInfo.Dtmf = 1;
    RadioInfo.Scramble = 0;
    RadioInfo.Kill = 0;
    RadioInfo.Faint = 0;
    RadioInfo.FactoryMode = 0;
    RadioInfo.BandSetting = 0;
    RadioInfo.BandIndex = 0;
    RadioInfo.ProgramPassword = FixedText({}, Width::ProgramPassword, true);
    RadioInfo.SerialNumber = FixedText(
        today.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral("00000001"), Width::SerialNumber, true);
    RadioInfo.ProductionDate =
        FixedText(QLocale::system().toString(today, QLocale::ShortFormat), Width::ProductionDate, true);
    RadioInfo.ManufactureCode = FixedText(today.toString(QStringLiteral("MM")) + QStringLiteral("-1-E-1"),
                                          Width::ManufactureCode, true);
    RadioInfo.UserCode = FixedText(QStringLiteral("001A"), Width::UserCode, true);
    RadioInfo.MaintenanceDate = FixedText({}, Width::MaintenanceDate, true);
    RadioInfo.DealerCode = FixedText({}, Width::DealerCode, true);
    RadioInfo.StockDate = FixedText({}, Width::StockDate, true);
    RadioInfo.SellDate = FixedText({}, Width::SellDate, true);
    RadioInfo.Seller = FixedText({}, Width::Seller, true);
    RadioInfo.MaintenanceDescription = FixedText({}, Width::MaintenanceDescription, true);
    RadioInfo.Version = QStringLiteral("V1.00");
    RadioInfo.AreaCode = QStringLiteral("0595");
    RadioInfo.Model = QStringLiteral("RZ614UV");
}

void ResetModData()
{
    RadioInfo = RadioInfoRecord{};
    InfoImage.fill(0);
    TextFieldsToEncode = TextFieldSet::All();
}
