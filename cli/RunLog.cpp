#include "cli/RunLog.h"

#include "cli/RecordOutput.h"
#include "data/ControlCharacters.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace {

class RunLogText
{
    Q_DECLARE_TR_FUNCTIONS(RunLogText)
};

// A field of a line: a radio's texts may hold control characters, which no line may carry.
QString LogField(const QString& text)
{
    return CsvField(EscapeControlCharacters(text));
}

} // namespace

QString RunLog::Header()
{
    return QStringLiteral("time,port,type,serial_number,result,changed_fields,reason");
}

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
    const QFileInfo info(path);
    const QByteArray header = Header().toUtf8();
    if (!info.exists() && !info.isSymLink())
        return Write(header + '\n');
    // Opening a FIFO to write waits for a reader, and opening a device acts on it.
    if (!info.isFile())
        return RunLogText::tr("%1 is not a file").arg(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("%1: %2").arg(path, file.errorString());
    const QByteArray start = file.read(header.size() + 2);
    file.close();
    if (start.isEmpty())
        return Write(header + '\n');
    if (!start.startsWith(header + '\n') && !start.startsWith(header + "\r\n"))
        return RunLogText::tr(
                   "%1 is not a log of this program (its first line is not \"%2\"); it is left as it "
                   "is: give a new file or an empty one")
            .arg(path, Header());
    return Write({});
}

QString RunLog::Append(const RadioLogLine& line) const
{
    if (!Enabled())
        return {};
    const QDateTime local = line.Time.toOffsetFromUtc(line.Time.offsetFromUtc());
    const QStringList fields{local.toString(Qt::ISODate),
                             LogField(line.Port),
                             LogField(line.Type),
                             LogField(line.Serial),
                             LogField(line.Result),
                             LogField(line.Changed.join(u' ')),
                             QString::fromLatin1(LogReasonWord(line.Why))};
    return Write(fields.join(u',').toUtf8() + '\n');
}
