#include "settings/PortWatch.h"

struct PortWatch::Watches
{
};

PortWatch::PortWatch(const ProgramSettings&) {}

PortWatch::~PortWatch() = default;

bool PortWatch::Changed()
{
    return true;
}

bool PortWatch::Watching() const
{
    return false;
}

bool PortWatch::UsesUdev() const
{
    return false;
}
