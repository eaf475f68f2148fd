#include "window/WindowIcon.h"

QIcon WindowIcon()
{
    // Drawn at any size by Qt's SVG icon engine (the libqt6svg6 package).
    return QIcon(QStringLiteral(":/icon.svg"));
}
