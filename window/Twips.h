// Window positions and sizes are designed in twips (1/1440 inch); widgets are placed in pixels.
#pragma once

#include <QRect>

// Twips in one pixel at the primary screen's logical DPI: 15 at 96 dpi.
double TwipsPerPixel();

int TwipsToPixels(int twips);
int PixelsToTwips(int pixels);

// Left, top, width and height in twips, converted one by one.
QRect TwipsRect(int left, int top, int width, int height);
