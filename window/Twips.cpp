#include "window/Twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

double TwipsPerPixel()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen != nullptr ? screen->logicalDotsPerInchX() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

int TwipsToPixels(int twips)
{
    return static_cast<int>(std::lround(twips / TwipsPerPixel()));
}

int PixelsToTwips(int pixels)
{
    return static_cast<int>(std::lround(pixels * TwipsPerPixel()));
}

QRect TwipsRect(int left, int top, int width, int height)
{
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}
