#include "link/CableText.h"

#include "link/SerialPlatform.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

class CableText
{
    Q_DECLARE_TR_FUNCTIONS(CableText)
};

} // namespace

QString CableDetail(const CableInfo& cable, const QString& devicePath)
{
    if (!cable.IsUsb())
        return {};
    QStringList names;
    for (const QString& name : {cable.Maker, cable.Product})
        if (!name.isEmpty())
            names << name;
    // The maker's and the product's names are the cable's own words, shown as it gives them.
    const QString name = names.join(u' ');
    QString text;
    if (name.isEmpty())
        text = cable.Driver.isEmpty()
                   ? CableText::tr("The cable is a USB serial bridge (USB %1).").arg(cable.UsbIds())
                   : CableText::tr("The cable is a USB serial bridge (USB %1, driver %2).")
                         .arg(cable.UsbIds(), cable.Driver);
    else
        text = cable.Driver.isEmpty() ? CableText::tr("The cable is %1 (USB %2).").arg(name, cable.UsbIds())
                                      : CableText::tr("The cable is %1 (USB %2, driver %3).")
                                            .arg(name, cable.UsbIds(), cable.Driver);
    const QString advice = LatencyTimerAdvice(cable, devicePath);
    if (advice.isEmpty())
        return text;
    return CableText::tr("%1 %2", "one sentence followed by another").arg(text, advice);
}
