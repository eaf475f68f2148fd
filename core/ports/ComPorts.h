// Serial-port discovery: which COM ports exist, and which device each number names.
//
// Windows lists its ports in the serial-device map, the values of the registry key
// HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM, each a name such as COM3 (SerialDeviceMap.h), in
// the order the registry gives them; a COM number is the system's own.
//
// Linux has no serial-device map of COM names, so the list is built fresh at every call from:
//   1. the real serial devices in <sysRoot>/class/tty: entries with a `device` link, leaving out the
//      serial-core ports whose `type` attribute is 0 (placeholders with no hardware behind them);
//   2. a COM number for each, derived from the device name alone (ComPortFamilies below), so that a
//      cable keeps its number across unplugging and restarts;
//   3. aliases: every symbolic link com<N> (any capitals, N 1 to 999) in the folder `dosdevices`
//      beside the settings file that points to an existing character device makes that device COM N.
//      This is how a user gives a cable a number of their choice, and how a pseudo-terminal (the
//      virtual radio, a network serial bridge) gets into the list.
// A port is never opened to find out about it: opening switches the DTR and RTS lines, and some radio
// cables key the transmitter with them.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

// The rule itself: platform 2 (Windows NT), version 6.0.
bool IsFixedPortListVersion(uint32_t platformId, uint32_t majorVersion, uint32_t minorVersion);

// A family of serial devices <Prefix><n> (n = 0, 1, 2 ... in decimal, no leading zeros) and the
// COM numbers it gets: <Prefix>0 is COM First, <Prefix>1 COM First+1, and so on up to COM Last.
// A device whose n runs past its range gets no number of its own.
struct PortFamily
{
    std::string_view Prefix;
    int16_t First;
    int16_t Last;
};

// The ranges do not overlap and lie in 1 to 899; 900 to 999 belong to no family, for aliases.
// A device name outside every family gets no number of its own (an alias can still give it one).
inline constexpr std::array<PortFamily, 22> ComPortFamilies{{
    {"ttyS", 1, 99},            // 16550 UARTs, on-board and PCI: ttyS0 is COM1, ttyS3 COM4
    {"ttyUSB", 100, 199},       // USB-serial converters: FTDI, Prolific, Silicon Labs, CH340 ...
    {"ttyACM", 200, 299},       // USB CDC-ACM adapters and modems
    {"ttyAMA", 300, 319},       // ARM PL011 UARTs (Raspberry Pi)
    {"rfcomm", 320, 359},       // Bluetooth serial links
    {"ttyCH341USB", 360, 399},  // WCH's own driver for the CH340/CH341
    {"ttyCH9344USB", 400, 439}, // WCH's multi-port CH9344/CH348
    {"ttyXRUSB", 440, 479},     // MaxLinear/Exar USB UARTs, vendor driver
    {"ttyMXUSB", 480, 519},     // Moxa UPort, vendor driver
    {"ttyGS", 520, 539},        // USB gadget serial (this machine as the USB device)
    {"ttyHS", 540, 559},        // high-speed UARTs of Qualcomm and others
    {"ttyTHS", 560, 579},       // NVIDIA Tegra high-speed UARTs
    {"ttySC", 580, 599},        // SC16IS7xx SPI/I2C UART bridges
    {"ttymxc", 600, 619},       // NXP i.MX UARTs
    {"ttyLP", 620, 639},        // NXP LPUARTs
    {"ttySAC", 640, 659},       // Samsung SoC UARTs
    {"ttyO", 660, 679},         // TI OMAP UARTs
    {"ttyMSM", 680, 699},       // Qualcomm MSM UARTs
    {"ttyPS", 700, 719},        // Xilinx Zynq UARTs
    {"ttyAML", 720, 739},       // Amlogic UARTs
    {"ttySTM", 740, 759},       // STM32 UARTs
    {"ttyMI", 760, 799},        // Moxa Smartio/Industio PCI boards
}};

struct SerialPortEntry
{
    int16_t Number = 0;  // the N of "COMN", 1 to 999
    QString DevicePath;  // /dev/ttyUSB0, or an alias's target; COM3 on Windows
    QString Description; // for the tooltip: the device path and, for USB, the adapter's description
    // The list entry's text after "COM" when the system names the port itself (Windows), which need
    // not be a number; empty: the Number.
    QString ListName;
};

// Real serial devices under `sysRoot` (normally "/sys") plus the aliases com<N> in `aliasDir`,
// ascending by number, one entry per number and per device. An alias wins over the number derived
// for the same device (same device number, or same path), and over the device that derives the
// alias's number; of two aliases for one device the lower number counts. Never opens a port.
QList<SerialPortEntry> DiscoverSerialPorts(const QString& sysRoot, const QString& aliasDir);

// The COM number that a device name gets when no alias names it (ComPortFamilies), 0 for none.
int16_t ComNumberForDevice(const QString& deviceName);

// First entry equal to text (same capitals), else the first entry, else empty.
QString MatchListEntry(const QStringList& list, const QString& text);
