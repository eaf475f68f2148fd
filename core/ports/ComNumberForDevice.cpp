#include "ports/ComPorts.h"

#include <algorithm>

namespace {

// The table must keep every derived number unique and leave 900 to 999 free.
constexpr bool FamiliesValid()
{
    for (std::size_t i = 0; i < ComPortFamilies.size(); ++i) {
        const PortFamily& a = ComPortFamilies[i];
        if (a.Prefix.empty() || (a.Prefix.back() >= '0' && a.Prefix.back() <= '9'))
            return false; // the number would run into the prefix
        if (a.First < 1 || a.First > a.Last || a.Last > 899)
            return false;
        for (std::size_t j = i + 1; j < ComPortFamilies.size(); ++j) {
            const PortFamily& b = ComPortFamilies[j];
            if (a.Prefix == b.Prefix || (a.First <= b.Last && b.First <= a.Last))
                return false;
        }
    }
    return true;
}
static_assert(FamiliesValid(), "COM number ranges overlap or leave 1..899");

} // namespace

int16_t ComNumberForDevice(const QString& deviceName)
{
    // Split the name into the family prefix and the device's index: the digits at its end.
    qsizetype digits = 0;
    const auto isDigit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    while (digits < deviceName.size() && isDigit(deviceName[deviceName.size() - 1 - digits]))
        ++digits;
    if (digits == 0 || digits > 4)
        return 0;
    const QString indexText = deviceName.right(digits);
    if (digits > 1 && indexText.front() == u'0')
        return 0; // the kernel never names a device so; keeps one number per name
    const QByteArray prefix = deviceName.left(deviceName.size() - digits).toLatin1();
    const auto family =
        std::find_if(ComPortFamilies.begin(), ComPortFamilies.end(), [&](const PortFamily& f) {
            return f.Prefix == std::string_view(prefix.constData(), static_cast<std::size_t>(prefix.size()));
        });
    if (family == ComPortFamilies.end())
        return 0;
    bool ok = false;
    const int index = indexText.toInt(&ok);
    if (!ok || index > family->Last - family->First)
        return 0;
    return static_cast<int16_t>(family->First + index);
}
