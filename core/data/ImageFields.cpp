#include "data/ImageFields.h"

#include <QCoreApplication>

#include <array>

namespace {
struct NamedFieldPlace
{
    int32_t offset;
    int32_t width;
    uint8_t mask;     // the bits of the bytes that are this field's
    const char* name; // as a sentence names it, marked for translation in the context ImageFields
};

constexpr uint8_t BandSettingBit = 0x04;

constexpr std::array<NamedFieldPlace, 16> Fields{{
    {Layout::BandIndex, 1, 0xFF, QT_TRANSLATE_NOOP("ImageFields", "the band")},
    {Layout::AreaCode, Layout::AreaCodeWidth, 0xFF, QT_TRANSLATE_NOOP("ImageFields", "the area code")},
    {Layout::Switches1, 1, BandSettingBit, QT_TRANSLATE_NOOP("ImageFields", "the band setting")},
    {Layout::Switches1, 1, uint8_t(~BandSettingBit), QT_TRANSLATE_NOOP("ImageFields", "the switches")},
    {Layout::Switches2, 1, 0xFF, QT_TRANSLATE_NOOP("ImageFields", "the switches")},
    {Layout::SerialNumber, Width::SerialNumber, 0xFF, QT_TRANSLATE_NOOP("ImageFields", "the serial number")},
    {Layout::ProductionDate, Width::ProductionDate, 0xFF,
     QT_TRANSLATE_NOOP("ImageFields", "the production date")},
    {Layout::ManufactureCode, Width::ManufactureCode, 0xFF,
     QT_TRANSLATE_NOOP("ImageFields", "the manufacture code")},
    {Layout::UserCode, Width::UserCode, 0xFF, QT_TRANSLATE_NOOP("ImageFields", "the user code")},
    {Layout::ProgramPassword, Width::ProgramPassword, 0xFF, QT_TRANSLATE_NOOP("ImageFields", "the password")},
    {Layout::MaintenanceDate, Width::MaintenanceDate, 0xFF,
     QT_TRANSLATE_NOOP("ImageFields", "the maintenance date")},
    {Layout::DealerCode, Width::DealerCode, 0xFF, QT_TRANSLATE_NOOP("ImageFields", "the dealer code")},
    {Layout::StockDate, Width::StockDate, 0xFF, QT_TRANSLATE_NOOP("ImageFields", "the stock date")},
    {Layout::SellDate, Width::SellDate, 0xFF, QT_TRANSLATE_NOOP("ImageFields", "the sell date")},
    {Layout::Seller, Width::Seller, 0xFF, QT_TRANSLATE_NOOP("ImageFields", "the seller")},
    {Layout::MaintenanceDescription, Width::MaintenanceDescription, 0xFF,
     QT_TRANSLATE_NOOP("ImageFields", "the maintenance description")},
}};
} // namespace

QStringList DifferingFields(const InfoImageType& intended, const InfoImageType& actual, int32_t end)
{
    QStringList names;
    const auto add = [&names](const QString& name) {
        if (!names.contains(name))
            names << name;
    };
    for (int32_t at = 0; at < end && at < Layout::ImageSize; ++at) {
        const uint8_t differs = intended[size_t(at)] ^ actual[size_t(at)];
        if (differs == 0)
            continue;
        uint8_t named = 0;
        for (const NamedFieldPlace& field : Fields) {
            if (at >= field.offset && at < field.offset + field.width && (differs & field.mask) != 0) {
                add(QCoreApplication::translate("ImageFields", field.name));
                named |= field.mask;
            }
        }
        if ((differs & ~named) != 0)
            add(QCoreApplication::translate("ImageFields", "byte %1").arg(at));
    }
    return names;
}

QString JoinedNames(const QStringList& names)
{
    if (names.size() <= 1)
        return names.join(QString());
    return names.first(names.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") + names.last();
}
