// The window's icon: the program's SVG icon, the same file that the desktop's icon theme gets.
#pragma once

#include <QIcon>

QIcon WindowIcon();
