#include "window/WindowIcon.h"

#include <QPainter>

QPixmap WindowIconPixmap(int size)
{
    // Drawn on a 32-unit grid without smoothing, so both sizes keep to a handful of plain colours.
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.scale(size / 32.0, size / 32.0);

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xFF, 0x80, 0x00)); // the tangelo
    painter.drawEllipse(0, 2, 30, 30);

    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(20, 1, 20, 9); // antenna
    painter.setBrush(QColor(0x80, 0x80, 0x80));
    painter.drawRect(10, 9, 14, 21); // body
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x00, 0xFF, 0x00));
    painter.drawRect(13, 12, 8, 5); // display
    painter.setBrush(Qt::black);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            painter.drawRect(13 + column * 3, 20 + row * 3, 2, 2); // keys
    painter.setBrush(QColor(0xFF, 0x00, 0x00));
    painter.drawRect(22, 10, 2, 2); // transmit lamp
    return pixmap;
}

QIcon WindowIcon()
{
    QIcon icon;
    icon.addPixmap(WindowIconPixmap(32));
    icon.addPixmap(WindowIconPixmap(16));
    return icon;
}
