// The window's icon, drawn here: a hand-held radio on an orange disc.
#pragma once

#include <QIcon>
#include <QPixmap>

QPixmap WindowIconPixmap(int size);
// 32 x 32 and 16 x 16.
QIcon WindowIcon();
