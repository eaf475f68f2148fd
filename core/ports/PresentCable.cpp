#include "ports/PresentCable.h"

namespace {

bool IsPresent(const PortEntry& entry, const PresentUsbDevice& present)
{
    if (present.VendorId.isEmpty() ||
        entry.Cable.VendorId.compare(present.VendorId, Qt::CaseInsensitive) != 0 ||
        entry.Cable.ProductId.compare(present.ProductId, Qt::CaseInsensitive) != 0)
        return false;
    return present.SerialNumber.isEmpty() ||
           (entry.DeviceId + u'\\' + entry.InstanceId).contains(present.SerialNumber, Qt::CaseInsensitive);
}

bool SameCable(const CableInfo& one, const CableInfo& other)
{
    return one.Maker == other.Maker && one.Product == other.Product && one.VendorId == other.VendorId &&
           one.ProductId == other.ProductId && one.Driver == other.Driver &&
           one.LatencyTimerMs == other.LatencyTimerMs;
}

} // namespace

CableInfo PresentCable(const QList<PortEntry>& entries, const std::optional<PresentUsbDevice>& present)
{
    std::optional<CableInfo> found;
    for (const PortEntry& entry : entries) {
        if (present && !IsPresent(entry, *present))
            continue;
        if (found && !SameCable(*found, entry.Cable))
            return {};
        found = entry.Cable;
    }
    return found.value_or(CableInfo{});
}
