#include "link/CableText.h"

#include "link/Sentences.h"
#include "link/SerialPlatform.h"

#include <QCoreApplication>

namespace {

class CableText
{
    Q_DECLARE_TR_FUNCTIONS(CableText)
};

} // namespace

QString CableSentence(const CableInfo& cable)
{
    if (!cable.IsUsb())
        return {};
    // The maker's and the product's names are the cable's own words, shown as it gives them.
    const QString name = cable.Name();
    if (name.isEmpty())
        return cable.Driver.isEmpty()
                   ? CableText::tr("The cable is a USB serial bridge (USB %1).").arg(cable.UsbIds())
                   : CableText::tr("The cable is a USB serial bridge (USB %1, driver %2).")
                         .arg(cable.UsbIds(), cable.Driver);
    return cable.Driver.isEmpty() ? CableText::tr("The cable is %1 (USB %2).").arg(name, cable.UsbIds())
                                  : CableText::tr("The cable is %1 (USB %2, driver %3).")
                                        .arg(name, cable.UsbIds(), cable.Driver);
}

QString CableDetail(const CableInfo& cable, const QString& devicePath)
{
    const QString text = CableSentence(cable);
    return text.isEmpty() ? text : Then(text, LatencyTimerAdvice(cable, devicePath));
}
