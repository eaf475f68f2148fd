#include "ports/PortList.h"

#include "settings/DecimalText.h"

QString ComPortEntryText(int16_t number)
{
    return QStringLiteral("COM") + QString::number(number);
}

QStringList ComPortListEntries(const QList<SerialPortEntry>& ports)
{
    QStringList entries;
    for (const SerialPortEntry& port : ports)
        entries << QStringLiteral("COM") +
                       (port.ListName.isEmpty() ? QString::number(port.Number).left(3) : port.ListName);
    return entries;
}

QStringList FixedComPortEntries()
{
    QStringList entries;
    for (int16_t number = 1; number <= 256; ++number)
        entries << ComPortEntryText(number);
    return entries;
}

QString DeviceMapPortName(QByteArrayView data)
{
    const qsizetype end = data.indexOf('\0');
    const QString text = QString::fromLocal8Bit(end < 0 ? data : data.first(end));
    return text.mid(3, 3).trimmed();
}

bool IsFixedPortListVersion(uint32_t platformId, uint32_t majorVersion, uint32_t minorVersion)
{
    return platformId == 2 && majorVersion == 6 && minorVersion == 0;
}

int16_t PortNumberOfEntry(const QString& entryText)
{
    return ParseDecimalInt16(QStringView(entryText).mid(3)).value_or(0);
}

int16_t FirstListedPortNumber(const QStringList& entries)
{
    for (const QString& entry : entries) {
        if (const int16_t number = PortNumberOfEntry(entry); number != 0)
            return number;
    }
    return 0;
}

bool ListHasPort(const QStringList& entries, int16_t number)
{
    return entries.contains(ComPortEntryText(number));
}

namespace {

QStringList ToolTips(const QList<SerialPortEntry>& ports)
{
    QStringList tips;
    for (const SerialPortEntry& port : ports)
        tips << port.Description;
    return tips;
}

} // namespace

PortListPlan PlanStartupPortList(bool fixedList, const QList<SerialPortEntry>& ports, int16_t savedNumber)
{
    PortListPlan plan;
    plan.ComPortNumber = savedNumber;
    if (fixedList) {
        plan.Entries = FixedComPortEntries();
    } else {
        plan.Entries = ComPortListEntries(ports);
        plan.ToolTips = ToolTips(ports);
        const int16_t first = FirstListedPortNumber(plan.Entries);
        if (first <= 0)
            plan.ComPortNumber = 0;
        else if (!ListHasPort(plan.Entries, savedNumber) || savedNumber < 1)
            plan.ComPortNumber = first; // the remembered port is gone, or none was remembered
    }
    if (plan.ComPortNumber != 0) {
        // A number outside the fixed list selects nothing; it stays remembered.
        if (ListHasPort(plan.Entries, plan.ComPortNumber))
            plan.Selection = ComPortEntryText(plan.ComPortNumber);
        plan.Save = true;
    }
    return plan;
}

PortListPlan PlanPortListRefresh(const QStringList& shown, const QList<SerialPortEntry>& ports,
                                 int16_t comPortNumber)
{
    PortListPlan plan;
    plan.Entries = ComPortListEntries(ports);
    plan.ToolTips = ToolTips(ports);
    plan.Rebuild = plan.Entries != shown;
    const int16_t first = FirstListedPortNumber(plan.Entries);
    if (first < 1) {
        plan.ComPortNumber = first;
        return plan;
    }
    plan.Selection = MatchListEntry(plan.Entries, ComPortEntryText(comPortNumber));
    plan.ComPortNumber = PortNumberOfEntry(plan.Selection);
    return plan;
}

std::optional<int16_t> ComPortFromEntry(const QString& entryText)
{
    if (entryText.size() <= 3)
        return std::nullopt;
    return PortNumberOfEntry(entryText);
}
