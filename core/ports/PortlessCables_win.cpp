#include "ports/PortlessCables.h"

// Windows tells of a cable without a port through its device's problem code; not read yet.
QList<PortlessCable> FindPortlessCables(const QString& /*root*/, const QStringList& /*ruleFolders*/)
{
    return {};
}
