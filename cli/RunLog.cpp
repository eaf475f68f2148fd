#include "cli/RunLog.h"

#include "cli/RecordOutput.h"

#include <QFile>

QString RunLog::Write(const QByteArray& bytes) const
{
    QFile file(path);
    if (!file.open(QIODevice::Append | QIODevice::WriteOnly) || file.write(bytes) != bytes.size() ||
        !file.flush())
        return QStringLiteral("%1: %2").arg(path, file.errorString());
    return {};
}

QString RunLog::Open() const
{
    if (!Enabled())
        return {};
    if (QFile(path).size() > 0)
        return Write({});
    return Write("time,port,type,serial_number,result,changed_fields\n");
}

QString RunLog::Append(const RadioLogLine& line) const
{
    if (!Enabled())
        return {};
    const QDateTime local = line.Time.toOffsetFromUtc(line.Time.offsetFromUtc());
    const QStringList fields{local.toString(Qt::ISODate), CsvField(line.Port),
                             CsvField(line.Type),         CsvField(line.Serial),
                             CsvField(line.Result),       CsvField(line.Changed.join(u' '))};
    return Write(fields.join(u',').toUtf8() + '\n');
}
