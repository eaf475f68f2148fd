// The band table in the hidden list Combo3, the band list of the chosen radio type in Combo1(1),
// and the choices that keep the two in step.
#include "data/BandTable.h"
#include "window/FrmMain.h"

namespace {
QString BandText(int16_t index)
{
    const std::string_view text = BandTable.at(static_cast<size_t>(index));
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}
} // namespace

void FrmMain::FillBandTable()
{
    // Appending selects nothing: the selected position is the window's band index.
    const int selected = Combo3->currentIndex();
    for (int16_t index = 0; index < BandCount; ++index)
        Combo3->addItem(BandText(index));
    Combo3->setCurrentIndex(selected);
}

void FrmMain::FillBandList(int16_t radioType)
{
    Combo1[1]->clear();
    if (radioType >= 0 && radioType < static_cast<int16_t>(BandLists.size())) {
        for (int16_t index : BandLists[static_cast<size_t>(radioType)])
            Combo1[1]->addItem(BandText(index));
    }
    Combo1[1]->setCurrentIndex(-1);
}

void FrmMain::Combo1_Click(int16_t Index)
{
    switch (Index) {
    case 0: // radio type: its bands, the first one chosen
        FillBandList(static_cast<int16_t>(Combo1[0]->currentIndex()));
        Combo1[1]->SelectListEntry(0);
        break;
    case 1: // band: a position in the type's list becomes a band index through its text
        Combo3->SelectListText(Combo1[1]->currentText());
        break;
    default:
        break;
    }
}
