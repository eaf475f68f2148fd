#include "window/WindowFont.h"

#include <QStringList>

void InstallFontSubstitutions()
{
    QFont::removeSubstitutions(QStringLiteral("Arial"));
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("WenQuanYi Micro Hei")});
}

QFont WindowFont()
{
    QFont font(QStringLiteral("Arial"), 9);
    font.setStyleHint(QFont::SansSerif);
    return font;
}
