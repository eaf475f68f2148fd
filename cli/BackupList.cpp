// tangelo-cli backups: the automatic backups that writes left behind, newest first, so that a dealer
// finds the file to give to 'restore'.
#include "cli/RadioCommands.h"
#include "cli/TerminalText.h"
#include "data/ControlCharacters.h"
#include "data/RadioBackup.h"
#include "settings/BackupFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <array>

namespace {

class BackupListText
{
    Q_DECLARE_TR_FUNCTIONS(BackupListText)
};

struct Listed
{
    QDateTime Saved;
    QString Type;
    QString Serial;
    QString DealerCode;
    QString Seller;
    QString File;
};

// Every time in the system's zone, as the list is sorted by the instant: each file's own offset
// would put 09:30 UTC above 10:00 +08:00 with nothing to tell why. A file's texts are shown escaped.
QStringList Row(const Listed& backup)
{
    return {backup.Saved.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
            EscapeControlCharacters(backup.Type),
            EscapeControlCharacters(backup.Serial),
            EscapeControlCharacters(backup.DealerCode),
            EscapeControlCharacters(backup.Seller),
            EscapeControlCharacters(backup.File)};
}

} // namespace

int RunBackupList(const CliOptions& options, CliContext& context)
{
    QTextStream& out = *context.out;
    QTextStream& err = *context.err;
    const QString folder = BackupFolder(context.backupFolder).Path();
    const QFileInfoList files =
        folder.isEmpty() ? QFileInfoList()
                         : QDir(folder).entryInfoList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
    QList<Listed> backups;
    for (const QFileInfo& file : files) {
        const ParsedBackup parsed = ReadBackupFile(file.filePath());
        if (!parsed.Backup) {
            err << EscapeControlCharacters(BackupListText::tr("Not listed: %1").arg(parsed.Error))
                << Qt::endl;
            continue;
        }
        const RadioInfoRecord record = DecodeInfo(parsed.Backup->Image, context.codePage);
        Listed backup{parsed.Backup->Saved.isValid() ? parsed.Backup->Saved : file.lastModified(),
                      parsed.Backup->RadioType,
                      TrimText(record.SerialNumber),
                      TrimText(record.DealerCode),
                      TrimText(record.Seller),
                      file.filePath()};
        if (!options.serial.isEmpty() && !backup.Serial.contains(options.serial, Qt::CaseInsensitive))
            continue;
        backups.append(backup);
    }
    std::stable_sort(backups.begin(), backups.end(),
                     [](const Listed& a, const Listed& b) { return a.Saved > b.Saved; });
    if (backups.isEmpty()) {
        if (options.serial.isEmpty())
            err << BackupListText::tr("No automatic backups in %1.").arg(folder) << Qt::endl;
        else
            err << BackupListText::tr("No automatic backup in %1 has a serial number that contains %2.")
                       .arg(folder, options.serial)
                << Qt::endl;
        return int(ExitCode::Done);
    }

    // Columns as wide as their widest text, counted in terminal columns.
    QList<QStringList> rows{{BackupListText::tr("Time"), BackupListText::tr("Radio type"),
                             BackupListText::tr("Serial number"), BackupListText::tr("Dealer code"),
                             BackupListText::tr("Seller"), BackupListText::tr("File")}};
    for (const Listed& backup : backups)
        rows.append(Row(backup));
    std::array<int, 6> widths{};
    for (const QStringList& row : rows)
        for (int column = 0; column < 5; ++column)
            widths[size_t(column)] = std::max(widths[size_t(column)], TerminalWidth(row[column]));
    for (const QStringList& row : rows) {
        QString line;
        for (int column = 0; column < 5; ++column)
            line += PadToColumns(row[column], widths[size_t(column)] + 2);
        out << line << row[5] << '\n';
    }
    out.flush();
    return int(ExitCode::Done);
}
