#include "cli/WritePlan.h"

#include "cli/RecordOutput.h"
#include "data/BandTable.h"
#include "data/ControlCharacters.h"
#include "link/ModelCheck.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>

namespace {

// What a write is to change, or why it is refused.
class WritePlanText
{
    Q_DECLARE_TR_FUNCTIONS(WritePlanText)
};

constexpr uint8_t BandSettingBit = 0x04; // of Switches1

// The text fields in the window's order.
constexpr std::array<TextField, 5> ShownTextFields{TextField::DealerCode, TextField::StockDate,
                                                   TextField::SellDate, TextField::Seller,
                                                   TextField::ProgramPassword};

// A text of the radio or of a backup file, as a change line shows it.
QString Quoted(const QString& text)
{
    return u'"' + EscapeControlCharacters(text) + u'"';
}

QString BandText(int band)
{
    return QStringLiteral("%1 %2").arg(band).arg(BandName(band));
}

QList<FieldChange> Changes(const InfoImageType& before, const InfoImageType& after, const AnsiCodePage& page)
{
    QList<FieldChange> changes;
    for (TextField field : ShownTextFields) {
        const ImageSpan span = TextFieldSpan(field);
        if (std::equal(before.begin() + span.Offset, before.begin() + span.Offset + span.Width,
                       after.begin() + span.Offset))
            continue;
        const QString key = TextFieldOption(field).replace(u'-', u'_');
        const QString was = Quoted(ImageFieldText(before, field, page));
        QString becomes = Quoted(ImageFieldText(after, field, page));
        if (was == becomes)
            becomes = WritePlanText::tr("%1 (the same text in other bytes)").arg(becomes);
        changes.append({key, RecordLabel(key), was, becomes});
    }
    const auto bandSetting = [](const InfoImageType& image) {
        return int16_t((image[Layout::Switches1] & BandSettingBit) != 0 ? 1 : 0);
    };
    if (bandSetting(before) != bandSetting(after))
        changes.append({QStringLiteral("band_setting"), RecordLabel(QStringLiteral("band_setting")),
                        SwitchText(bandSetting(before)), SwitchText(bandSetting(after))});
    if (before[Layout::BandIndex] != after[Layout::BandIndex])
        changes.append({QStringLiteral("band"), RecordLabel(QStringLiteral("band")),
                        BandText(before[Layout::BandIndex]), BandText(after[Layout::BandIndex])});
    return changes;
}

void SetBandSetting(InfoImageType& image, bool on)
{
    image[Layout::Switches1] =
        uint8_t((image[Layout::Switches1] & ~BandSettingBit) | (on ? BandSettingBit : 0));
}

QString& FieldText(RadioInfoRecord& record, TextField field)
{
    switch (field) {
    case TextField::ProgramPassword:
        return record.ProgramPassword;
    case TextField::DealerCode:
        return record.DealerCode;
    case TextField::StockDate:
        return record.StockDate;
    case TextField::SellDate:
        return record.SellDate;
    case TextField::Seller:
        break;
    }
    return record.Seller;
}

int RadioTypeIndex(const QString& model)
{
    const QString type = ToRadioTypeName(model);
    for (size_t i = 0; i < RadioTypeNames.size(); ++i)
        if (type == QLatin1String(RadioTypeNames[i].data(), qsizetype(RadioTypeNames[i].size())))
            return int(i);
    return -1;
}

struct Refusal
{
    QString Text; // empty: none
    LogReason Why = LogReason::None;
};

// The band check of the window's write, with --yes standing for its question's OK.
Refusal CheckBand(int radioBand, int band, const QString& radioType, bool checkOffered, bool yes)
{
    switch (CheckBandChange(radioBand, band)) {
    case BandChange::Keep:
        return {};
    case BandChange::Refuse:
        return {WritePlanText::tr("a radio in the 66 - 88 MHz band (18) cannot be given another band"),
                LogReason::BandRefused};
    case BandChange::Change:
        break;
    }
    if (checkOffered && !TypeOffersBand(RadioTypeIndex(radioType), band))
        return {WritePlanText::tr("band %1 is not a band of the %2")
                    .arg(BandText(band), ToDisplayTypeName(radioType)),
                LogReason::BandNotOffered};
    if (!yes)
        return {WritePlanText::tr("the band would change from %1 to %2; give --yes to change it")
                    .arg(BandText(radioBand), BandText(band)),
                LogReason::BandNeedsYes};
    return {};
}

WritePlan Refused(const Refusal& refusal, const InfoImageType& image)
{
    return {true, refusal.Text, refusal.Why, image, {}};
}

} // namespace

WritePlan PlanWrite(const CliOptions& options, const RadioInfoRecord& radio, const InfoImageType& image,
                    const AnsiCodePage& page)
{
    InfoImageType after = image;
    if (options.band) {
        if (const Refusal refusal = CheckBand(radio.BandIndex, *options.band, radio.Model, true, options.yes);
            !refusal.Text.isEmpty())
            return Refused(refusal, image);
        after[Layout::BandIndex] = uint8_t(*options.band);
    }
    if (options.bandSetting)
        SetBandSetting(after, *options.bandSetting != 0);
    // A text the radio already shows keeps its bytes: only a new text is encoded.
    RadioInfoRecord record = DecodeInfo(after, page, radio);
    TextFieldSet encode;
    for (const TextEdit& edit : options.texts) {
        if (edit.Text == ImageFieldText(image, edit.Field, page))
            continue;
        FieldText(record, edit.Field) = FixedText(edit.Text, TextFieldSpan(edit.Field).Width, false);
        encode.Insert(edit.Field);
    }
    after = EncodeInfo(after, record, page, encode);
    return {false, {}, LogReason::None, after, Changes(image, after, page)};
}

WritePlan PlanRestore(const RadioBackup& backup, const CliOptions& options, const RadioInfoRecord& radio,
                      const InfoImageType& image, const AnsiCodePage& page)
{
    const ImageSpan serial{Layout::SerialNumber, Width::SerialNumber};
    const auto serialBytes = [&serial](const InfoImageType& bytes) {
        return QByteArray(reinterpret_cast<const char*>(bytes.data()) + serial.Offset, serial.Width);
    };
    if (!options.force && serialBytes(backup.Image) != serialBytes(image))
        return Refused(
            {WritePlanText::tr("the file is of the radio with serial number \"%1\", this radio's is \"%2\"; "
                               "--force restores it anyway")
                 .arg(SerialNumberText(backup.Image, page), SerialNumberText(image, page)),
             LogReason::OtherSerial},
            image);
    const int band = backup.Image[Layout::BandIndex];
    if (const Refusal refusal = CheckBand(radio.BandIndex, band, radio.Model, false, options.yes);
        !refusal.Text.isEmpty())
        return Refused(refusal, image);

    InfoImageType after = image;
    for (TextField field : AllTextFields) {
        const ImageSpan span = TextFieldSpan(field);
        std::copy_n(backup.Image.begin() + span.Offset, span.Width, after.begin() + span.Offset);
    }
    after[Layout::BandIndex] = uint8_t(band);
    SetBandSetting(after, (backup.Image[Layout::Switches1] & BandSettingBit) != 0);
    return {false, {}, LogReason::None, after, Changes(image, after, page)};
}

QString ChangeLines(const QList<FieldChange>& changes)
{
    if (changes.isEmpty())
        return QStringLiteral("  ") + WritePlanText::tr("(no change)") + u'\n';
    QString lines;
    for (const FieldChange& change : changes)
        lines += QStringLiteral("  ") +
                 WritePlanText::tr("%1: %2 → %3").arg(change.Label, change.Before, change.After) + u'\n';
    return lines;
}

QStringList ChangedKeys(const QList<FieldChange>& changes)
{
    QStringList keys;
    for (const FieldChange& change : changes)
        keys << change.Key;
    return keys;
}
