// What the system knows of the cable behind a serial port: who made it, what it is, its USB ids, the
// driver that serves it, and the latency timer of an FTDI chip, which holds received bytes back for
// that long before passing them on. Read from sysfs on Linux and from the device's registry keys on
// Windows; never by opening the port.
#pragma once

#include <QString>

#include <optional>

struct CableInfo
{
    QString Maker;     // the USB device's manufacturer string
    QString Product;   // its product string
    QString VendorId;  // four hex digits, "0403"; empty when the port is no USB device
    QString ProductId; // four hex digits, "6001"
    QString Driver;    // ftdi_sio, ch341, cdc_acm ...; on Windows the driver's service, FTSER2K ...
    std::optional<int> LatencyTimerMs; // only where the driver has one (FTDI)

    bool IsUsb() const { return !VendorId.isEmpty(); }
    // "FTDI FT232R USB UART": the maker's and the product's names as the cable gives them, either
    // left out when it gives none; empty when it gives neither.
    QString Name() const
    {
        if (Maker.isEmpty() || Product.isEmpty())
            return Maker + Product;
        return Maker + u' ' + Product;
    }
    // "0403:6001"
    QString UsbIds() const { return VendorId + u':' + ProductId; }
};

// The cable of a serial device: a device path on Linux (/dev/ttyUSB0, a link to it), a port name on
// Windows (COM5). `root` empty: the system's own (/sys; the registry key
// HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Enum); tests give a tree or key of their own. Nothing is
// known of a device the root does not describe (a pseudo-terminal, a built-in port's USB side). On
// Windows only the device that the system lists behind the port now is described, never an entry
// left from an adapter unplugged long ago that had the same COM number.
CableInfo CableInfoFor(const QString& device, const QString& root = {});
