#include "data/BandTable.h"
#include "data/ModData.h"
#include "window/FrmMain.h"

#include "window/SetLanguage.h"
#include <QLineEdit>

namespace {

QString WithoutTrailingSpaces(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == u' ')
        --end;
    return text.left(end);
}

struct EditableText
{
    int16_t index; // in Text1
    TextField field;
};
constexpr std::array<EditableText, 5> EditableTexts{{{12, TextField::ProgramPassword},
                                                     {8, TextField::DealerCode},
                                                     {9, TextField::StockDate},
                                                     {10, TextField::SellDate},
                                                     {11, TextField::Seller}}};

} // namespace

QString FrmMain::Message(const std::array<QString, 3>& texts) const
{
    return texts[static_cast<size_t>(LanguageIndex >= 1 && LanguageIndex <= 2 ? LanguageIndex : 1)];
}

WriteDecision FrmMain::GetDataByShow(const RadioInfoRecord& radio, const InfoImageType& image)
{
    RadioInfoRecord record = radio;
    record.FiveTone = Check1->isChecked() ? 1 : 0;
    record.TwoTone = Check2->isChecked() ? 1 : 0;
    record.Dtmf = Check3->isChecked() ? 1 : 0;
    record.Kill = Check4->isChecked() ? 1 : 0;
    record.Scramble = Check5->isChecked() ? 1 : 0;
    record.Faint = Check6->isChecked() ? 1 : 0;
    record.FactoryMode = Check7->isChecked() ? 1 : 0;
    record.BandSetting = Check8->isChecked() ? 1 : 0;

    // -1: the radio's band has no row and the user chose none; the radio keeps its band.
    const int chosenBand = Combo3->currentIndex();
    const BandChange band = CheckBandChange(record.BandIndex, chosenBand);
    if (band == BandChange::Refuse) {
        // The session sends the end command and holds the block writes back.
        MsgBox(Message(BandTooFarNotice));
        RadioInfo = record;
        return {true, record, {}};
    }
    if (band == BandChange::Change) {
        if (MsgBox(Message(OverwriteQuestion), MsgButtons::OkCancel, MsgIcon::Warning) == MsgResult::Ok)
            record.BandIndex = static_cast<int16_t>(chosenBand);
        else
            Combo3->SelectListEntry(record.BandIndex);
    }

    record.AreaCode = WithoutTrailingSpaces(Text1Text(0));
    auto take = [this](int16_t index, int width) {
        return FixedText(WithoutTrailingSpaces(Text1Text(index)), width, false);
    };
    record.SerialNumber = take(1, Width::SerialNumber);
    record.ProductionDate = take(2, Width::ProductionDate);
    record.MaintenanceDate = take(3, Width::MaintenanceDate);
    record.MaintenanceDescription = take(4, Width::MaintenanceDescription);
    record.ManufactureCode = take(6, Width::ManufactureCode);
    record.UserCode = take(7, Width::UserCode);
    record.DealerCode = take(8, Width::DealerCode);
    record.StockDate = take(9, Width::StockDate);
    record.SellDate = take(10, Width::SellDate);
    record.Seller = take(11, Width::Seller);
    record.ProgramPassword = take(12, Width::ProgramPassword);
    RadioInfo = record;
    return {false, record, EditedTextFields(image)};
}

// A field counts as unchanged when the user has not edited it since the window last showed a record
// and it shows what the radio's bytes, read again by this write, read as. Such a field goes back to
// the radio byte for byte, even where the code page cannot turn its bytes into text and back again.
// A field that shows another text, such as that of a radio read before this one was connected, is
// written as it shows.
TextFieldSet FrmMain::EditedTextFields(const InfoImageType& radioImage) const
{
    TextFieldSet edited;
    for (const auto& [index, field] : EditableTexts) {
        const auto* edit = qobject_cast<const QLineEdit*>(Text1.at(static_cast<size_t>(index)));
        const QString radioText = FittedText1Text(index, ImageFieldText(radioImage, field, CodePage));
        const bool showsRadioText =
            WithoutTrailingSpaces(Text1Text(index)) == WithoutTrailingSpaces(radioText);
        if (edit == nullptr || edit->isModified() || !showsRadioText)
            edited.Insert(field);
    }
    return edited;
}
