// What one radio comes to: the read, write, backup or restore of the radio connected now.
#include "cli/RadioCommand.h"
#include "cli/RecordOutput.h"
#include "cli/TerminalText.h"
#include "cli/WritePlan.h"
#include "data/ControlCharacters.h"
#include "link/ModelCheck.h"
#include "link/SessionMessages.h"
#include "settings/BackupFolder.h"

#include <QFileInfo>
#include <QJsonDocument>

#include <algorithm>

namespace {

BackupFileResult SaveImage(const QString& path, const RadioBackup& backup, const AnsiCodePage& page)
{
    if (QFileInfo(path).isDir())
        return BackupFolder(path).Save(backup, page);
    return WriteBackupFile(path, BackupFileContent(backup, page));
}

LogReason FailureReason(const SessionOutcome& outcome)
{
    if (!outcome.FieldsNotTaken.isEmpty())
        return LogReason::NotTaken;
    if (outcome.PortLost)
        return LogReason::PortLost;
    // What the line showed first; silence on every try is the radio not answering.
    const auto carried = std::ranges::find_if(
        outcome.Line, [](const LineTry& one) { return one.Carried != TryCarried::Nothing; });
    if (carried == outcome.Line.end())
        return LogReason::NoReply;
    switch (carried->Carried) {
    case TryCarried::Nothing:
        break;
    case TryCarried::Echo:
        return LogReason::Echo;
    case TryCarried::NegativeReply:
        return LogReason::NegativeReplies;
    case TryCarried::Unreadable:
        return LogReason::Unreadable;
    case TryCarried::OtherFrame:
        return LogReason::OtherFrame;
    case TryCarried::OtherBlock:
        return LogReason::OtherBlock;
    case TryCarried::LateReply:
        return LogReason::LateReply;
    }
    return LogReason::NoReply;
}

} // namespace

RadioReport RadioCommand::HandleRadio(const std::optional<ReadResult>& probe)
{
    if (probe && !probe->Complete())
        return Failed(probe->Outcome);
    switch (options.command) {
    case Command::Read:
    case Command::Backup:
        return ReadRadio(probe ? *probe : runner->Read());
    case Command::Write:
        return WriteRadio(probe);
    case Command::Restore:
        if (options.dryRun)
            return RestoreDryRun(probe ? *probe : runner->Read());
        return WriteRadio(probe);
    case Command::Ports:
    case Command::Check:
    case Command::Backups:
        break;
    }
    return {};
}

RadioReport RadioCommand::Failed(const SessionOutcome& outcome, const QString& refusal) const
{
    RadioReport report;
    // The line names the port once, with its device, ahead of the result; the words follow.
    report.Port = OutcomePort(outcome);
    switch (outcome.Result) {
    case SessionResult::Complete:
        return {};
    case SessionResult::CannotOpen:
        // The system's reason names the port and its device itself.
        report.Port.clear();
        report.Code = ExitCode::CannotOpen;
        report.Why = LogReason::CannotOpen;
        report.Message = QStringLiteral("%1 %2").arg(QLatin1String(CannotOpenText), outcome.Reason);
        break;
    case SessionResult::ModelError:
        report.Code = ExitCode::ModelError;
        report.Why = LogReason::OtherType;
        if (outcome.Mode == SessionMode::Read)
            report.Message = OutcomeWhat(outcome);
        else if (restoreFile)
            report.Message = tr("the radio is a %1, the backup file is of a %2; nothing was written")
                                 .arg(outcome.RadioType, outcome.PcType);
        else
            report.Message =
                tr("the radio is a %1, not a %2; nothing was written").arg(outcome.RadioType, outcome.PcType);
        break;
    case SessionResult::Failure:
        report.Code = ExitCode::RadioFailure;
        report.Message = OutcomeWhat(outcome);
        report.Why = FailureReason(outcome);
        break;
    case SessionResult::Refused:
        report.Code = ExitCode::Refused;
        // The session itself refuses a write only when the backup before it was not saved.
        report.Why = LogReason::BackupNotSaved;
        report.Message = refusal.isEmpty() ? OutcomeWhat(outcome) : tr("refused: %1").arg(refusal);
        break;
    }
    return report;
}

// A report that names the radio just read by its type and serial number.
RadioReport RadioCommand::NamedReport(const ReadResult& read) const
{
    RadioReport report;
    report.Type = ToDisplayTypeName(read.Record.Model);
    report.Serial = SerialNumberText(read.Image, context.codePage);
    return report;
}

RadioReport RadioCommand::ReadRadio(const ReadResult& read)
{
    if (!read.Complete())
        return Failed(read.Outcome);
    RadioReport report = NamedReport(read);
    const QString file = options.command == Command::Backup ? options.file : options.save;
    if (options.command == Command::Read) {
        switch (options.format) {
        case RecordFormat::Text:
            out() << (radios > 0 ? QStringLiteral("\n") : QString()) << RecordText(read.Record);
            break;
        case RecordFormat::Json: {
            // The code page the texts were decoded with, for a program that reads radios of
            // several languages.
            QJsonObject record = RecordJson(read.Record);
            record.insert(QStringLiteral("code_page"), CodePageNumber(context.codePage.Name()));
            out() << JsonForTerminal(QJsonDocument(record),
                                     options.repeat ? QJsonDocument::Compact : QJsonDocument::Indented)
                  << '\n';
            break;
        }
        case RecordFormat::Csv:
            if (options.header && radios == 0)
                out() << RecordCsvHeader() << '\n';
            out() << RecordCsvLine(read.Record) << '\n';
            break;
        }
        out().flush();
    }
    if (!file.isEmpty()) {
        const RadioBackup backup{ToRadioTypeName(read.Record.Model), QDateTime::currentDateTime(),
                                 BackupBlockCount, read.Image};
        const BackupFileResult saved = SaveImage(file, backup, context.codePage);
        if (!saved.Error.isEmpty()) {
            report.Code = ExitCode::Usage;
            report.Why = LogReason::NotSaved;
            report.Message = tr("the image was read but not saved: %1").arg(saved.Error);
        } else {
            report.Message = tr("saved in %1").arg(saved.Path);
        }
    }
    return report;
}

// The write's question: the plan for this radio, printed; or the refusal.
RadioSession::WriteFieldsQuestion RadioCommand::Question(RadioReport& report, QString& refusal)
{
    return [this, &report, &refusal](const RadioInfoRecord& radio, const InfoImageType& image) {
        report.Type = ToDisplayTypeName(radio.Model);
        report.Serial = SerialNumberText(image, context.codePage);
        const WritePlan plan = restoreFile
                                   ? PlanRestore(*restoreFile, options, radio, image, context.codePage)
                                   : PlanWrite(options, radio, image, context.codePage);
        if (plan.Refuse) {
            refusal = plan.Refusal;
            report.Why = plan.Why;
            return WriteDecision{true, radio, {}, {}};
        }
        out() << EscapeControlCharacters(tr("%1 %2 %3:").arg(port.Name(), report.Type, report.Serial)) << '\n'
              << ChangeLines(plan.Changes);
        out().flush();
        report.Changed = ChangedKeys(plan.Changes);
        RadioInfoRecord fields = DecodeInfo(plan.Image, context.codePage, radio);
        return WriteDecision{false, fields, {}, plan.Image};
    };
}

RadioSession::BackupWriter RadioCommand::Backup() const
{
    if (options.noBackup)
        return {};
    return [this](const RadioInfoRecord& radio, const InfoImageType& image) {
        const BackupFileResult saved =
            BackupFolder(context.backupFolder).SaveWriteBackup(radio, image, context.codePage);
        if (saved.Error.isEmpty()) {
            out() << "  " << tr("Backup: %1").arg(saved.Path) << '\n';
            out().flush();
        }
        return saved;
    };
}

RadioReport RadioCommand::WriteRadio(const std::optional<ReadResult>& probe)
{
    QString type = restoreFile ? CanonicalTypeName(restoreFile->RadioType) : options.type;
    if (type.isEmpty()) {
        // The radio's own type, read first; the write checks it again.
        const ReadResult read = probe ? *probe : runner->Read();
        if (!read.Complete())
            return Failed(read.Outcome);
        type = ToRadioTypeName(read.Record.Model);
    }
    RadioReport report;
    QString refusal;
    const SessionOutcome outcome = runner->Write(type, Question(report, refusal), Backup());
    if (outcome.Result == SessionResult::Complete)
        return report;
    RadioReport failure = Failed(outcome, refusal);
    failure.Type = report.Type;
    failure.Serial = report.Serial;
    if (!refusal.isEmpty())
        failure.Why = report.Why;
    return failure;
}

RadioReport RadioCommand::RestoreDryRun(const ReadResult& read)
{
    if (!read.Complete())
        return Failed(read.Outcome);
    RadioReport report = NamedReport(read);
    if (ToRadioTypeName(read.Record.Model) != CanonicalTypeName(restoreFile->RadioType)) {
        report.Code = ExitCode::ModelError;
        report.Why = LogReason::OtherType;
        report.Message = tr("the radio is a %1, the backup file is of a %2")
                             .arg(report.Type, ToDisplayTypeName(restoreFile->RadioType));
        return report;
    }
    const WritePlan plan = PlanRestore(*restoreFile, options, read.Record, read.Image, context.codePage);
    if (plan.Refuse) {
        report.Code = ExitCode::Refused;
        report.Why = plan.Why;
        report.Message = tr("a restore would be refused: %1").arg(plan.Refusal);
        return report;
    }
    out() << EscapeControlCharacters(tr("%1 %2 %3:").arg(port.Name(), report.Type, report.Serial)) << '\n'
          << ChangeLines(plan.Changes);
    out().flush();
    report.Changed = ChangedKeys(plan.Changes);
    report.Message = tr("dry run, nothing written");
    return report;
}
