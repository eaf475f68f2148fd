#include "data/ModData.h"
#include "link/ModelCheck.h"
#include "ports/ComPorts.h"
#include "window/FrmMain.h"

#include <QStringList>

namespace {

QStringList Entries(const QComboBox* list)
{
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        entries << list->itemText(i);
    return entries;
}

} // namespace

void FrmMain::ShowByData()
{
    Check1->setChecked(RadioInfo.FiveTone != 0);
    Check2->setChecked(RadioInfo.TwoTone != 0);
    Check3->setChecked(RadioInfo.Dtmf != 0);
    Check4->setChecked(RadioInfo.Kill != 0);
    Check5->setChecked(RadioInfo.Scramble != 0);
    Check6->setChecked(RadioInfo.Faint != 0);
    Check7->setChecked(RadioInfo.FactoryMode != 0);
    Check8->setChecked(RadioInfo.BandSetting != 0);

    // Runs the radio-type choice, which refills the band list; the band is set again below so the
    // end state does not depend on what that choice selected.
    Combo1[0]->SelectListText(MatchListEntry(Entries(Combo1[0]), ToDisplayTypeName(RadioInfo.Model)));

    // A band byte without a row in the band table selects nothing: the window then shows no band,
    // and a write keeps the radio's own byte unless the user picks one.
    Combo3->SelectListEntry(RadioInfo.BandIndex);
    FillBandList(static_cast<int16_t>(Combo1[0]->currentIndex()));
    Combo3->SelectListEntry(RadioInfo.BandIndex);
    if (Combo3->currentIndex() >= 0)
        Combo1[1]->SelectListText(Combo3->currentText());

    SetText1Text(0, RadioInfo.AreaCode);
    SetText1Text(1, TrimText(RadioInfo.SerialNumber));
    SetText1Text(2, TrimText(RadioInfo.ProductionDate));
    SetText1Text(3, TrimText(RadioInfo.MaintenanceDate));
    SetText1Text(4, TrimText(RadioInfo.MaintenanceDescription));
    SetText1Text(5, RadioInfo.Version);
    SetText1Text(6, TrimText(RadioInfo.ManufactureCode));
    SetText1Text(7, TrimText(RadioInfo.UserCode));
    SetText1Text(8, TrimText(RadioInfo.DealerCode));
    SetText1Text(9, TrimText(RadioInfo.StockDate));
    SetText1Text(10, TrimText(RadioInfo.SellDate));
    SetText1Text(11, TrimText(RadioInfo.Seller));
    SetText1Text(12, TrimText(RadioInfo.ProgramPassword));
}
