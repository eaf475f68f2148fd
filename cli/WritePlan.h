// What a write or a restore is to do to one radio, decided from the radio's record and the image the
// write has just read: the bytes to send, each field they change, or why the write is refused.
#pragma once

#include "cli/CliOptions.h"
#include "cli/LogReason.h"
#include "data/ModData.h"
#include "data/RadioBackup.h"

#include <QList>
#include <QString>
#include <QStringList>

struct FieldChange
{
    QString Key;   // as the JSON record and the log name it: "dealer_code"
    QString Label; // as the record text shows it, in the program's language: "Dealer code"
    QString Before;
    QString After;
};

struct WritePlan
{
    bool Refuse = false;
    QString Refusal;
    LogReason Why = LogReason::None; // of the refusal
    InfoImageType Image{};           // what goes to the radio; bytes 0 to 159 count
    QList<FieldChange> Changes;
};

// `radio`: the write's record, with the radio's type in Model and the band of its identity reply in
// BandIndex; `image`: the bytes the write has just read.
WritePlan PlanWrite(const CliOptions& options, const RadioInfoRecord& radio, const InfoImageType& image,
                    const AnsiCodePage& page);
// The backup's dealer fields, password, band-setting switch and band, byte for byte.
WritePlan PlanRestore(const RadioBackup& backup, const CliOptions& options, const RadioInfoRecord& radio,
                      const InfoImageType& image, const AnsiCodePage& page);

// One line per change: "  Dealer code: "" → "D-42""; or a line saying there is none.
QString ChangeLines(const QList<FieldChange>& changes);
QStringList ChangedKeys(const QList<FieldChange>& changes);
