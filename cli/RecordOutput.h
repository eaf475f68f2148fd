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

// For a person, in the program's language: the band's row of the band table (a name the window
// shows the same in every language), or a note that it has none.
QString BandName(int band);
// A switch: "on" or "off".
QString SwitchText(int16_t value);
// The record text's label for a key of the JSON record ("dealer_code": "Dealer code").
QString RecordLabel(const QString& key);
// A CSV field, quoted when it needs to be.
QString CsvField(const QString& text);
