#include "settings/SmallFile.h"

bool StampSettled(const FileStamp& stamp)
{
    constexpr auto Step = std::chrono::seconds(2);
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return stamp.Modified < now - Step;
}
