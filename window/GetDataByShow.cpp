#include "data/ModData.h"
#include "window/FrmMain.h"
#include "window/SetLanguage.h"

namespace {

constexpr int16_t NoRowBand = 18; // 66 - 88 MHz: a radio there cannot be moved to another band

QString WithoutTrailingSpaces(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == u' ')
        --end;
    return text.left(end);
}

} // namespace

QString FrmMain::Message(const std::array<QString, 3>& texts) const
{
    return texts[static_cast<size_t>(LanguageIndex >= 1 && LanguageIndex <= 2 ? LanguageIndex : 1)];
}

WriteDecision FrmMain::GetDataByShow(const RadioInfoRecord& radio, const InfoImageType& /*image*/)
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
    if (record.BandIndex == NoRowBand && chosenBand != NoRowBand) {
        // The session sends the end command and holds the block writes back.
        MsgBox(Message(BandTooFarNotice));
        RadioInfo = record;
        return {true, record};
    }
    if (chosenBand >= 0 && record.BandIndex != chosenBand) {
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
    return {false, record};
}
