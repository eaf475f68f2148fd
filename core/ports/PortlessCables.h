// The USB serial cables that are plugged in but give no port: no program can try a radio on them, so
// the dealer is told what holds them back instead of being told to plug them in. Read only when asked
// (the port list, the check) or when nothing answered: it walks every USB device.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

enum class PortlessReason {
    TakenByBrltty,  // held through usbfs while the braille display daemon runs or its rules are installed
    TakenByProgram, // held through usbfs by some other program
    NoDriver,       // no driver bound: its module is not loaded, or the kernel has none
    OtherDriver,    // bound to a driver that makes no serial port of it
    // Windows, from the device's problem code:
    DriverRefusesChip, // Code 10 on a PL2303: the maker's current driver refuses older and copied chips
    NoDriverInstalled, // Code 28
    Disabled,          // Code 22: disabled in Device Manager
    DeviceProblem,     // any other code: 43 (stopped after reporting a problem) and the rest
};

struct PortlessCable
{
    QString Maker; // the device's own texts, shown escaped
    QString Product;
    QString VendorId; // four lower-case hex digits
    QString ProductId;
    QString Chip; // CH340, PL2303, ... or "CDC ACM"
    PortlessReason Reason = PortlessReason::NoDriver;
    QString Driver;           // the driver bound (OtherDriver)
    QString Module;           // the kernel module that makes a port of such a chip: ch341, cdc_acm ...
    QString DriverVersion;    // the driver's version (Linux: its module's, where it gives one)
    unsigned ProblemCode = 0; // Windows: Device Manager's code

    QString UsbIds() const { return VendorId + u':' + ProductId; }
    // "CH340 QinHeng USB Serial (1a86:7523)": the chip, the device's names where it gives them, the ids.
    QString Label() const;
};

// What Windows tells of a USB device: its ids, names, problem code and driver.
struct WindowsUsbDevice
{
    QString VendorId; // four hex digits
    QString ProductId;
    QString Maker; // as Device Manager shows them
    QString Product;
    unsigned ProblemCode = 0; // CM_PROB_*; 0: none
    QString DriverName;       // the driver's description, "Prolific USB-to-Serial Comm Port"
    QString DriverVersion;    // "3.9.6.2"
};

// The cable without a port that the device is: a known serial bridge with a problem code; nothing
// for another device or one that works.
std::optional<PortlessCable> ClassifyWindowsDevice(const WindowsUsbDevice& device);

// The kernel module that makes a port of the chip; empty for a chip it does not know.
QString ModuleForChip(const QString& chip);

// The cables without a port that the system shows now. Linux: the USB devices under `root` (empty:
// /sys); brltty is seen by its rules in udev's rule folders `ruleFolders` (empty: the system's) and by
// a process of that name under `procRoot` (empty: /proc). Windows asks Setup and ignores all three.
QList<PortlessCable> FindPortlessCables(const QString& root = {}, const QStringList& ruleFolders = {},
                                        const QString& procRoot = {});
