#include "cli/RecordOutput.h"

#include "cli/TerminalText.h"
#include "data/BandTable.h"
#include "data/ControlCharacters.h"
#include "link/ModelCheck.h"

#include <QCoreApplication>
#include <QStringList>

#include <array>

namespace {

// The record as a person reads it; the keys and values of JSON and CSV stay English.
class RecordOutput
{
    Q_DECLARE_TR_FUNCTIONS(RecordOutput)
};

enum class Kind { Text, Number, Switch, BandName };

struct Column
{
    const char* key;
    const char* label; // the window's caption for the field, marked for translation
    Kind kind;
    QString (*text)(const RadioInfoRecord&);
    int16_t (*number)(const RadioInfoRecord&);
};

#define TEXT(member) [](const RadioInfoRecord& r) { return TrimText(r.member); }, nullptr
#define NUMBER(member) nullptr, [](const RadioInfoRecord& r) { return r.member; }

// In the order of the window, top to bottom, then the switches it keeps hidden (5Tone, 2Tone and
// DTMF are names, the same in every language).
const std::array<Column, 23> Columns{{
    {"type", QT_TRANSLATE_NOOP("RecordOutput", "Radio type"), Kind::Text,
     [](const RadioInfoRecord& r) { return ToDisplayTypeName(r.Model); }, nullptr},
    {"band", QT_TRANSLATE_NOOP("RecordOutput", "Band"), Kind::Number, NUMBER(BandIndex)},
    {"band_name", QT_TRANSLATE_NOOP("RecordOutput", "Band name"), Kind::BandName, NUMBER(BandIndex)},
    {"band_setting", QT_TRANSLATE_NOOP("RecordOutput", "Band setting"), Kind::Switch, NUMBER(BandSetting)},
    {"area_code", QT_TRANSLATE_NOOP("RecordOutput", "Area code"), Kind::Text, TEXT(AreaCode)},
    {"serial_number", QT_TRANSLATE_NOOP("RecordOutput", "Serial number"), Kind::Text, TEXT(SerialNumber)},
    {"production_date", QT_TRANSLATE_NOOP("RecordOutput", "Production date"), Kind::Text,
     TEXT(ProductionDate)},
    {"manufacture_code", QT_TRANSLATE_NOOP("RecordOutput", "Manufacture code"), Kind::Text,
     TEXT(ManufactureCode)},
    {"user_code", QT_TRANSLATE_NOOP("RecordOutput", "User code"), Kind::Text, TEXT(UserCode)},
    {"maintenance_date", QT_TRANSLATE_NOOP("RecordOutput", "Maintenance date"), Kind::Text,
     TEXT(MaintenanceDate)},
    {"maintenance_description", QT_TRANSLATE_NOOP("RecordOutput", "Maintenance description"), Kind::Text,
     TEXT(MaintenanceDescription)},
    {"dealer_code", QT_TRANSLATE_NOOP("RecordOutput", "Dealer code"), Kind::Text, TEXT(DealerCode)},
    {"stock_date", QT_TRANSLATE_NOOP("RecordOutput", "Stock date"), Kind::Text, TEXT(StockDate)},
    {"sell_date", QT_TRANSLATE_NOOP("RecordOutput", "Sell date"), Kind::Text, TEXT(SellDate)},
    {"seller", QT_TRANSLATE_NOOP("RecordOutput", "Seller"), Kind::Text, TEXT(Seller)},
    {"password", QT_TRANSLATE_NOOP("RecordOutput", "Password"), Kind::Text, TEXT(ProgramPassword)},
    {"five_tone", "5Tone", Kind::Switch, NUMBER(FiveTone)},
    {"two_tone", "2Tone", Kind::Switch, NUMBER(TwoTone)},
    {"dtmf", "DTMF", Kind::Switch, NUMBER(Dtmf)},
    {"kill", QT_TRANSLATE_NOOP("RecordOutput", "Kill"), Kind::Switch, NUMBER(Kill)},
    {"scramble", QT_TRANSLATE_NOOP("RecordOutput", "Scramble"), Kind::Switch, NUMBER(Scramble)},
    {"faint", QT_TRANSLATE_NOOP("RecordOutput", "Faint"), Kind::Switch, NUMBER(Faint)},
    {"factory_mode", QT_TRANSLATE_NOOP("RecordOutput", "Factory mode"), Kind::Switch, NUMBER(FactoryMode)},
}};

#undef TEXT
#undef NUMBER

// The band's name as the band table has it; English, for the programs that read JSON and CSV.
QString BandTableName(int band)
{
    if (band < 0 || band >= BandCount)
        return QStringLiteral("(no band of this number)");
    const std::string_view name = BandTable[size_t(band)];
    return QString::fromLatin1(name.data(), qsizetype(name.size()));
}

// For a person (`forPeople`: switches and notes in the program's language) or for a program.
QString ValueText(const Column& column, const RadioInfoRecord& record, bool forPeople)
{
    switch (column.kind) {
    case Kind::Text:
        return column.text(record);
    case Kind::Number:
        return QString::number(column.number(record));
    case Kind::Switch:
        if (forPeople)
            return SwitchText(column.number(record));
        return column.number(record) != 0 ? QStringLiteral("on") : QStringLiteral("off");
    case Kind::BandName:
        return forPeople ? BandName(column.number(record)) : BandTableName(column.number(record));
    }
    return {};
}

QString Label(const Column& column)
{
    return QCoreApplication::translate("RecordOutput", column.label);
}

} // namespace

QString BandName(int band)
{
    // The names themselves are the window's, the same in both languages.
    if (band < 0 || band >= BandCount)
        return RecordOutput::tr("(no band of this number)");
    return BandTableName(band);
}

QString SwitchText(int16_t value)
{
    return value != 0 ? RecordOutput::tr("on") : RecordOutput::tr("off");
}

QString RecordLabel(const QString& key)
{
    for (const Column& column : Columns)
        if (key == QLatin1String(column.key))
            return Label(column);
    return key;
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
        text += PadToColumns(RecordOutput::tr("%1:").arg(Label(column)), 24) + u' ' +
                EscapeControlCharacters(ValueText(column, record, true)) + u'\n';
    return text;
}

QJsonObject RecordJson(const RadioInfoRecord& record)
{
    QJsonObject object;
    for (const Column& column : Columns) {
        const QString key = QString::fromLatin1(column.key);
        switch (column.kind) {
        case Kind::Text:
        case Kind::BandName:
            object.insert(key, ValueText(column, record, false));
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
        fields << CsvField(EscapeControlCharacters(ValueText(column, record, false)));
    return fields.join(u',');
}
