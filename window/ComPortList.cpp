#include "link/PortlessCableText.h"
#include "ports/ComPorts.h"
#include "ports/PortlessCables.h"
#include "ports/PortList.h"
#include "settings/Settings.h"
#include "window/FrmMain.h"

#include <QSignalBlocker>
#include <QTime>

QStringList FrmMain::ComPortEntries() const
{
    QStringList entries;
    for (int i = 0; i < Combo2->count(); ++i)
        entries << Combo2->itemText(i);
    return entries;
}

bool FrmMain::InComPorts(int16_t number) const
{
    return ListHasPort(ComPortEntries(), number);
}

// Shows the entries; the choice itself is made by the caller as a port choice.
void FrmMain::ShowPortList(const PortListPlan& plan)
{
    if (plan.Rebuild) {
        // Adding the first entry makes QComboBox select it; that is no port choice.
        const QSignalBlocker blocker(Combo2);
        Combo2->clear();
        Combo2->addItems(plan.Entries);
        Combo2->setCurrentIndex(-1);
    }
    for (int i = 0; i < plan.ToolTips.size() && i < Combo2->count(); ++i)
        Combo2->setItemData(i, plan.ToolTips.at(i), Qt::ToolTipRole);
}

void FrmMain::UpdatePortListToolTip()
{
    const int selected = Combo2->currentIndex();
    QString toolTip = selected >= 0 ? Combo2->itemData(selected, Qt::ToolTipRole).toString() : QString();
    // An empty list, at start-up or after a change: a cable plugged in without a port is why, often.
    if (Combo2->count() == 0)
        toolTip = PortlessCablesText(Settings.FindPortlessCables());
    if (toolTip == Combo2->toolTip())
        return;
    Combo2->setToolTip(toolTip);
    // A screen reader reads the tooltip as the list's description, and keeps what it has read until
    // told of a change: the tooltip alone changes silently.
    Combo2->setAccessibleDescription(toolTip);
}

void FrmMain::StartUpPortList()
{
    const PortListPlan plan =
        PlanStartupPortList(FixedPortList, Settings.DiscoverSerialPorts(), ComPortNumber);
    ShowPortList(plan);
    ComPortNumber = plan.ComPortNumber;
    if (ComPortNumber != 0) {
        Combo2->SelectListText(plan.Selection);
        Settings.SaveComPortSetting(ComPortNumber);
    }
    UpdatePortListToolTip();
}

void FrmMain::ReShowComPortTimer_Timer()
{
    // The watch is asked every time, so that it follows each change from the moment it is told.
    const bool changed = portWatch.Changed();
    if (!changed && ComPortNumber == refreshedComPort && !refreshSaveFailed) {
        // A cable plugged in, taken by another program or pulled out changes no port, so the watch
        // does not see it. While the list is empty its tooltip names such cables: read them again.
        // With a port listed the walk over the USB devices never runs here.
        if (Combo2->count() == 0)
            UpdatePortListToolTip();
        return;
    }
    const int16_t remembered = ComPortNumber;
    const PortListPlan plan =
        PlanPortListRefresh(ComPortEntries(), Settings.DiscoverSerialPorts(), ComPortNumber);
    ShowPortList(plan);
    if (plan.Selection.isEmpty()) {
        Combo2->setCurrentIndex(-1);
        ComPortNumber = plan.ComPortNumber;
    } else {
        // A port choice, also when the entry is selected already: it keeps the number and the file.
        Combo2->SelectListText(plan.Selection);
        ComPortNumber = PortNumberOfEntry(Combo2->currentText());
    }
    NotePortListMove(remembered);
    UpdatePortListToolTip();
    refreshedComPort = ComPortNumber;
    // A save that failed is tried again at every refresh, as it would be without the watch.
    refreshSaveFailed = !plan.Selection.isEmpty() && !Settings.ComPortSettingSaved(ComPortNumber);
}

void FrmMain::Combo2_Click()
{
    if (const std::optional<int16_t> number = ComPortFromEntry(Combo2->currentText())) {
        ComPortNumber = *number;
        Settings.SaveComPortSetting(ComPortNumber);
    }
    UpdatePortListToolTip();
}

// The list moved away from the remembered port because it disappeared: a session that then fails on
// the port the list moved to says so, since the user may not have noticed the change.
void FrmMain::NotePortListMove(int16_t remembered)
{
    if (remembered <= 0 || ComPortNumber == remembered || InComPorts(remembered))
        return;
    const QString at = QTime::currentTime().toString(QStringLiteral("HH:mm"));
    const QString note =
        ComPortNumber > 0 ? tr("COM%1 disappeared at %2; the list moved to COM%3.")
                                .arg(remembered)
                                .arg(at)
                                .arg(ComPortNumber)
                          : tr("COM%1 disappeared at %2; the list moved to no port.").arg(remembered).arg(at);
    portListMove = {ComPortNumber, note};
}

QString FrmMain::PortListMoveNote(int16_t portNumber) const
{
    return portListMove.first == portNumber ? portListMove.second : QString();
}
