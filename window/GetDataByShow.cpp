#include "data/AnsiCodePage.h"
#include "data/ModData.h"
#include "data/MsgBox.h"
#include "link/CommLink.h"
#include "link/Frames.h"
#include "link/Port.h"
#include "link/Sequencer.h"
#include "window/FrmMain.h"
#include "window/SetLanguage.h"

#include <QLineEdit>

namespace {

constexpr int16_t NoRowBand = 18; // 66 - 88 MHz: a radio there cannot be moved to another band

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

QString Message(const std::array<QString, 3>& pair)
{
    return pair[static_cast<size_t>(LanguageIndex >= 1 && LanguageIndex <= 2 ? LanguageIndex : 1)];
}

} // namespace

void FrmMain::GetDataByShow()
{
    // Until the texts are taken below, none of them is to be written over the radio's own.
    TextFieldsToEncode = {};

    RadioInfo.FiveTone = Check1->isChecked() ? 1 : 0;
    RadioInfo.TwoTone = Check2->isChecked() ? 1 : 0;
    RadioInfo.Dtmf = Check3->isChecked() ? 1 : 0;
    RadioInfo.Kill = Check4->isChecked() ? 1 : 0;
    RadioInfo.Scramble = Check5->isChecked() ? 1 : 0;
    RadioInfo.Faint = Check6->isChecked() ? 1 : 0;
    RadioInfo.FactoryMode = Check7->isChecked() ? 1 : 0;
    RadioInfo.BandSetting = Check8->isChecked() ? 1 : 0;

    // -1: the radio's band has no row and the user chose none; the radio keeps its band.
    const int chosenBand = Combo3->currentIndex();
    if (RadioInfo.BandIndex == NoRowBand && chosenBand != NoRowBand) {
        RefuseWrite();
        return;
    }
    if (chosenBand >= 0 && RadioInfo.BandIndex != chosenBand) {
        if (MsgBox(Message(OverwriteQuestion), MsgButtons::OkCancel, MsgIcon::Warning) == MsgResult::Ok)
            RadioInfo.BandIndex = static_cast<int16_t>(chosenBand);
        else
            Combo3->SelectListEntry(RadioInfo.BandIndex);
    }

    RadioInfo.AreaCode = WithoutTrailingSpaces(Text1Text(0));
    auto take = [this](int16_t index, int width) {
        return FixedText(WithoutTrailingSpaces(Text1Text(index)), width, false);
    };
    RadioInfo.SerialNumber = take(1, Width::SerialNumber);
    RadioInfo.ProductionDate = take(2, Width::ProductionDate);
    RadioInfo.MaintenanceDate = take(3, Width::MaintenanceDate);
    RadioInfo.MaintenanceDescription = take(4, Width::MaintenanceDescription);
    RadioInfo.ManufactureCode = take(6, Width::ManufactureCode);
    RadioInfo.UserCode = take(7, Width::UserCode);
    RadioInfo.DealerCode = take(8, Width::DealerCode);
    RadioInfo.StockDate = take(9, Width::StockDate);
    RadioInfo.SellDate = take(10, Width::SellDate);
    RadioInfo.Seller = take(11, Width::Seller);
    RadioInfo.ProgramPassword = take(12, Width::ProgramPassword);
    TextFieldsToEncode = EditedTextFields();
}

// A field counts as unchanged when the user has not edited it since the window last showed a record
// and it shows what the radio's bytes, read again by this write, read as. Such a field goes back to
// the radio byte for byte, even where the code page cannot turn its bytes into text and back again.
// A field that shows another text, such as that of a radio read before this one was connected, is
// written as it shows.
TextFieldSet FrmMain::EditedTextFields() const
{
    const QByteArray codePage = AnsiCodePage();
    TextFieldSet edited;
    for (const auto& [index, field] : EditableTexts) {
        const auto* edit = qobject_cast<const QLineEdit*>(Text1.at(static_cast<size_t>(index)));
        const QString radioText = FittedText1Text(index, ImageFieldText(InfoImage, field, codePage));
        const bool showsRadioText =
            WithoutTrailingSpaces(Text1Text(index)) == WithoutTrailingSpaces(radioText);
        if (edit == nullptr || edit->isModified() || !showsRadioText)
            edited.Insert(field);
    }
    return edited;
}

// The end command still goes out so the radio leaves programming mode; the block write that the
// session prepares next is held back, and the session ends as failed.
void FrmMain::RefuseWrite()
{
    SessionStep = 0;
    NextStep(-1);
    ::WaitTimer().stop();
    MsgBox(Message(BandTooFarNotice));
    SendEnd();
    SendHalted = true;
    ClosePort();
}
