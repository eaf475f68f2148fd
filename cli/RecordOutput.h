// The radio's record as tangelo-cli prints it: every field the window shows, the band's name and
// the switches; as text, as a JSON object, or as a CSV line.
#pragma once

#include "data/ModData.h"

#include <QJsonObject>
#include <QString>

QString RecordText(const RadioInfoRecord& record);
QJsonObject RecordJson(const RadioInfoRecord& record);
QString RecordCsvHeader();
QString RecordCsvLine(const RadioInfoRecord& record);

// The band's row of the band table, or a note that it has none.
QString BandName(int band);
// "on" or "off".
QString SwitchText(int16_t value);
// A CSV field, quoted when it needs to be.
QString CsvField(const QString& text);
