// The COM-port list's texts and the choices that start-up, the refresh and a port choice make, apart
// from the widget: the window shows what these decide.
#pragma once

#include "ports/ComPorts.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// "COM" followed by the number in decimal.
QString ComPortEntryText(int16_t number);
// The list entries for the discovered ports, in their order.
QStringList ComPortListEntries(const QList<SerialPortEntry>& ports);
// A port's name in the list from a value's data in the serial-device map: the characters after its
// first three, at most three of them, surrounding blanks removed; the first three are not examined.
// "COM1234" gives "123", so the list holds COM123.
QString DeviceMapPortName(QByteArrayView data);
// COM1 to COM256, the fixed list.
QStringList FixedComPortEntries();
// The number an entry names: its text after the first three characters read as a decimal number; 0
// when that is not one.
int16_t PortNumberOfEntry(const QString& entryText);
// What ListSerialPorts returns for these entries: the first number that is not 0, else 0.
int16_t FirstListedPortNumber(const QStringList& entries);
// Whether an entry equals "COM" followed by the number (whole text, same capitals): InComPorts.
bool ListHasPort(const QStringList& entries, int16_t number);

// What the list is to show after start-up or a refresh.
struct PortListPlan
{
    QStringList Entries;
    QStringList ToolTips;      // one per entry: the port's description (set even without a rebuild)
    bool Rebuild = true;       // the entries differ from what the list shows
    QString Selection;         // the entry to select; empty: none
    int16_t ComPortNumber = 0; // ComPortNumber afterwards
    bool Save = false;         // start-up: SaveComPortSetting after the selection
};

// Start-up: the list and the choice of port from the discovered ports and the saved number. With the
// fixed list the saved number stands and is selected when listed. Otherwise the saved number stands
// when it is listed and at least 1, else the first listed port is taken; no port listed gives 0.
// Save is set whenever the number is not 0.
PortListPlan PlanStartupPortList(bool fixedList, const QList<SerialPortEntry>& ports, int16_t savedNumber);

// The refresh: the remembered port stays selected while it is listed, else the first listed port is
// selected; with nothing listed ComPortNumber becomes 0. Rebuild is false when `shown` already holds
// exactly these entries. The selection is a port choice: the window runs Combo2_Click for it even
// when the list already had it selected, so the outcome is that of a rebuild.
PortListPlan PlanPortListRefresh(const QStringList& shown, const QList<SerialPortEntry>& ports,
                                 int16_t comPortNumber);

// What a port choice does (Combo2_Click forwards here with the selected entry's text): an entry
// longer than three characters gives the number that ComPortNumber takes and the settings file keeps;
// anything else gives nothing, and nothing changes.
std::optional<int16_t> ComPortFromEntry(const QString& entryText);
