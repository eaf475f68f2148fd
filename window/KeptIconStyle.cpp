#include "window/KeptIconStyle.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <array>
#include <chrono>

KeptIconStyle::KeptIconStyle(const QString& key) : QProxyStyle(key) {}

QIcon KeptIconStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                                  const QWidget* widget) const
{
    // An option carries a state (direction, palette) the icon may follow: such icons are made anew.
    if (option)
        return QProxyStyle::standardIcon(standardIcon, option, widget);
    if (const auto found = kept.constFind(standardIcon); found != kept.cend())
        return *found;
    const QIcon icon = QProxyStyle::standardIcon(standardIcon, option, widget);
    kept.insert(standardIcon, icon);
    return icon;
}

void KeptIconStyle::PrepareMessageBoxIcons(QWidget* window)
{
    window->installEventFilter(this);
}

bool KeptIconStyle::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint) {
        watched->removeEventFilter(this);
        // Once the painting has reached the screen, at a later turn of the event loop.
        using namespace std::chrono_literals;
        QTimer::singleShot(50ms, this, [this] { MakeMessageBoxIcons(); });
    }
    return QProxyStyle::eventFilter(watched, event);
}

void KeptIconStyle::MakeMessageBoxIcons() const
{
    // The OK and Cancel buttons and the two box icons the window uses.
    for (const StandardPixmap icon :
         std::array{SP_DialogOkButton, SP_DialogCancelButton, SP_MessageBoxWarning, SP_MessageBoxCritical})
        standardIcon(icon);
}
