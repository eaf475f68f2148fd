#include "cli/RecordOutput.h"

#include "data/BandTable.h"
#include "link/ModelCheck.h"

#include <QStringList>

#include <array>

namespace {

enum class Kind { Text, Number, Switch };

struct Column
{
    const char* key;
    const char* label;
    Kind kind;
    QString (*text)(const RadioInfoRecord&);
    int16_t (*number)(const RadioInfoRecord&);
};

#define TEXT(member) [](const RadioInfoRecord& r) { return TrimText(r.member); }, nullptr
#define NUMBER(member) nullptr, [](const RadioInfoRecord& r) { return r.member; }

// In the order of the window, top to bottom, then the switches it keeps hidden.
const std::array<Column, 23> Columns{{
    {"type", "Radio type", Kind::Text, [](const RadioInfoRecord& r) { return ToDisplayTypeName(r.Model); },
     nullptr},
    {"band", "Band", Kind::Number, NUMBER(BandIndex)},
    {"band_name", "Band name", Kind::Text, [](const RadioInfoRecord& r) { return BandName(r.BandIndex); },
     nullptr},
    {"band_setting", "Band setting", Kind::Switch, NUMBER(BandSetting)},
    {"area_code", "Area code", Kind::Text, TEXT(AreaCode)},
    {"serial_number", "Serial number", Kind::Text, TEXT(SerialNumber)},
    {"production_date", "Production date", Kind::Text, TEXT(ProductionDate)},
    {"manufacture_code", "Manufacture code", Kind::Text, TEXT(ManufactureCode)},
    {"user_code", "User code", Kind::Text, TEXT(UserCode)},
    {"maintenance_date", "Maintenance date", Kind::Text, TEXT(MaintenanceDate)},
    {"maintenance_description", "Maintenance description", Kind::Text, TEXT(MaintenanceDescription)},
    {"dealer_code", "Dealer code", Kind::Text, TEXT(DealerCode)},
    {"stock_date", "Stock date", Kind::Text, TEXT(StockDate)},
    {"sell_date", "Sell date", Kind::Text, TEXT(SellDate)},
    {"seller", "Seller", Kind::Text, TEXT(Seller)},
    {"password", "Password", Kind::Text, TEXT(ProgramPassword)},
    {"five_tone", "5Tone", Kind::Switch, NUMBER(FiveTone)},
    {"two_tone", "2Tone", Kind::Switch, NUMBER(TwoTone)},
    {"dtmf", "DTMF", Kind::Switch, NUMBER(Dtmf)},
    {"kill", "Kill", Kind::Switch, NUMBER(Kill)},
    {"scramble", "Scramble", Kind::Switch, NUMBER(Scramble)},
    {"faint", "Faint", Kind::Switch, NUMBER(Faint)},
    {"factory_mode", "Factory mode", Kind::Switch, NUMBER(FactoryMode)},
}};

#undef TEXT
#undef NUMBER

QString ValueText(const Column& column, const RadioInfoRecord& record)
{
    switch (column.kind) {
    case Kind::Text:
        return column.text(record);
    case Kind::Number:
        return QString::number(column.number(record));
    case Kind::Switch:
        return SwitchText(column.number(record));
    }
    return {};
}

} // namespace

QString BandName(int band)
{
    if (band < 0 || band >= BandCount)
        return QStringLiteral("(no band of this number)");
    const std::string_view name = BandTable[size_t(band)];
    return QString::fromLatin1(name.data(), qsizetype(name.size()));
}

QString SwitchText(int16_t value)
{
    return value != 0 ? QStringLiteral("on") : QStringLiteral("off");
}

QString CsvField(const QString& text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString RecordText(const RadioInfoRecord& record)
{
    QString text;
    for (const Column& column : Columns)
        text += QStringLiteral("%1 %2\n")
                    .arg(QString::fromLatin1(column.label) + u':', -24)
                    .arg(ValueText(column, record));
    return text;
}

QJsonObject RecordJson(const RadioInfoRecord& record)
{
    QJsonObject object;
    for (const Column& column : Columns) {
        const QString key = QString::fromLatin1(column.key);
        switch (column.kind) {
        case Kind::Text:
            object.insert(key, column.text(record));
            break;
        case Kind::Number:
            object.insert(key, column.number(record));
            break;
        case Kind::Switch:
            object.insert(key, column.number(record) != 0);
            break;
        }
    }
    return object;
}

QString RecordCsvHeader()
{
    QStringList keys;
    for (const Column& column : Columns)
        keys << QString::fromLatin1(column.key);
    return keys.join(u',');
}

QString RecordCsvLine(const RadioInfoRecord& record)
{
    QStringList fields;
    for (const Column& column : Columns)
        fields << CsvField(ValueText(column, record));
    return fields.join(u',');
}
