// The --log file: one CSV line per radio, appended, with a header line when the file is new.
#pragma once

#include "cli/LogReason.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <utility>

struct RadioLogLine
{
    QDateTime Time;
    QString Port;
    QString Type;
    QString Serial;
    QString Result; // done, failed or skipped
    QStringList Changed;
    LogReason Why = LogReason::None; // failed or skipped: why
};

class RunLog
{
public:
    explicit RunLog(QString file) : path(std::move(file)) {}
    bool Enabled() const { return !path.isEmpty(); }
    // Whether lines can be appended; the header goes in first when the file is empty. Only a file
    // that is not there, is empty or begins with the header is taken: any other file is the user's
    // and stays as it is. Empty: yes.
    QString Open() const;
    QString Append(const RadioLogLine& line) const;

    static QString Header();

private:
    QString Write(const QByteArray& bytes) const;
    QString path;
};
