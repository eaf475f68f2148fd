#include "cli/RadioCommands.h"

#include "cli/RadioRunner.h"
#include "cli/RecordOutput.h"
#include "cli/RunLog.h"
#include "cli/WritePlan.h"
#include "data/RadioBackup.h"
#include "link/ModelCheck.h"
#include "link/SessionMessages.h"
#include "settings/BackupFolder.h"
#include "settings/ComPorts.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <QThread>

#include <optional>

namespace {

constexpr char NextRadioPrompt[] = "Connect the next radio, then press Enter; q to quit";

// What became of one radio.
struct RadioReport
{
    ExitCode Code = ExitCode::Done;
    QString Type;
    QString Serial;
    QStringList Changed;
    QString Message; // why it was not done, or a note
};

QString ResultWord(ExitCode code)
{
    switch (code) {
    case ExitCode::Done:
        return QStringLiteral("done");
    case ExitCode::ModelError:
    case ExitCode::Refused:
        return QStringLiteral("skipped");
    case ExitCode::RadioFailure:
    case ExitCode::Usage:
    case ExitCode::CannotOpen:
        break;
    }
    return QStringLiteral("failed");
}

std::optional<PortChoice> ResolvePort(const QString& given, const ProgramSettings& settings, QString& error)
{
    if (given.isEmpty()) {
        const int16_t saved = settings.LoadComPortSetting();
        if (saved <= 0) {
            error = QStringLiteral("no --port given, and no port is chosen in the window");
            return std::nullopt;
        }
        return PortChoice{saved, {}};
    }
    if (given.contains(u'/'))
        return PortChoice{0, given};
    const QString digits =
        given.startsWith(QStringLiteral("COM"), Qt::CaseInsensitive) ? given.mid(3) : given;
    bool ok = false;
    const int number = digits.toInt(&ok);
    if (!ok || number < 1 || number > 999) {
        error = QStringLiteral("--port: '%1' is no COM number (1 to 999) or device path").arg(given);
        return std::nullopt;
    }
    return PortChoice{int16_t(number), {}};
}

// A place for a new backup file: a folder (the file is named there), or a file that is not there yet.
QString CheckNewFile(const QString& path, bool several)
{
    const QFileInfo info(path);
    if (info.isDir())
        return {};
    if (info.exists() || info.isSymLink())
        return QStringLiteral("%1 is there already; give a new file or a folder").arg(path);
    if (several)
        return QStringLiteral("with --repeat, %1 must be a folder").arg(path);
    if (!info.absoluteDir().exists())
        return QStringLiteral("%1: its folder does not exist").arg(path);
    return {};
}

BackupFileResult SaveImage(const QString& path, const RadioBackup& backup, const AnsiCodePage& page)
{
    if (QFileInfo(path).isDir())
        return BackupFolder(path).Save(backup, page);
    return WriteBackupFile(path, BackupFileContent(backup, page));
}

class RadioCommand
{
public:
    RadioCommand(const CliOptions& given, CliContext& runContext)
        : options(given), context(runContext), log(given.log)
    {
    }

    int Run();

private:
    QString Prepare();
    RadioReport HandleRadio(const std::optional<ReadResult>& probe);
    RadioReport ReadRadio(const ReadResult& read);
    RadioReport WriteRadio(const std::optional<ReadResult>& probe);
    RadioReport RestoreDryRun(const ReadResult& read);
    RadioReport Failed(const SessionOutcome& outcome, const QString& refusal = {}) const;
    RadioSession::WriteFieldsQuestion Question(RadioReport& report, QString& refusal);
    RadioSession::BackupWriter Backup() const;
    std::optional<ReadResult> WaitForRadio();
    bool AskForNextRadio();
    void Report(const RadioReport& report);
    void Pause() const;

    QTextStream& out() const { return *context.out; }
    QTextStream& err() const { return *context.err; }

    const CliOptions& options;
    CliContext& context;
    RunLog log;
    PortChoice port;
    std::optional<RadioRunner> runner;
    std::optional<RadioBackup> restoreFile;

    int radios = 0;
    int done = 0;
    int failed = 0;
    int skipped = 0;
    std::optional<ExitCode> firstNotDone;
    // --no-prompt: the radio just handled may still be connected; it counts again only after a try
    // that no radio answered.
    bool justHandled = false;
    QString lastSerial;
};

QString RadioCommand::Prepare()
{
    QString error;
    const std::optional<PortChoice> choice = ResolvePort(options.port, context.settings, error);
    if (!choice)
        return error;
    port = *choice;
    if (options.command == Command::Read && !options.save.isEmpty())
        if (const QString problem = CheckNewFile(options.save, options.repeat); !problem.isEmpty())
            return QStringLiteral("--save: %1").arg(problem);
    if (options.command == Command::Backup)
        if (const QString problem = CheckNewFile(options.file, false); !problem.isEmpty())
            return problem;
    if (options.command == Command::Restore) {
        const ParsedBackup parsed = ReadBackupFile(options.file);
        if (!parsed.Backup)
            return parsed.Error;
        if (parsed.Backup->Blocks < WrittenBlockCount)
            return QStringLiteral("%1: the file lacks blocks %2 to 4")
                .arg(options.file)
                .arg(parsed.Backup->Blocks);
        if (CanonicalTypeName(parsed.Backup->RadioType).isEmpty())
            return QStringLiteral("%1: no radio type '%2'").arg(options.file, parsed.Backup->RadioType);
        restoreFile = parsed.Backup;
    }
    return log.Open();
}

int RadioCommand::Run()
{
    if (const QString error = Prepare(); !error.isEmpty()) {
        err() << "tangelo-cli: " << error << Qt::endl;
        return int(ExitCode::Usage);
    }
    runner.emplace(context, port);
    if (options.trace)
        QLoggingCategory::setFilterRules(QStringLiteral("tangelo.link.debug=true"));

    if (!options.repeat) {
        Report(HandleRadio(std::nullopt));
    } else {
        while (!context.stopRequested()) {
            std::optional<ReadResult> probe;
            if (options.noPrompt) {
                probe = WaitForRadio();
                if (!probe)
                    break;
            } else if (radios > 0 && !AskForNextRadio()) {
                break;
            }
            Report(HandleRadio(probe));
        }
        err() << QStringLiteral("Summary: %1 done, %2 failed, %3 skipped").arg(done).arg(failed).arg(skipped)
              << Qt::endl;
    }

    if (options.trace)
        QLoggingCategory::setFilterRules({});
    return int(firstNotDone.value_or(ExitCode::Done));
}

bool RadioCommand::AskForNextRadio()
{
    err() << NextRadioPrompt << Qt::endl;
    const std::optional<QString> line = context.readLine ? context.readLine() : std::nullopt;
    return line && line->trimmed().compare(QStringLiteral("q"), Qt::CaseInsensitive) != 0;
}

void RadioCommand::Pause() const
{
    QDeadlineTimer deadline(context.retryPause);
    while (!deadline.hasExpired() && !context.stopRequested()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
}

// Reads until a radio answers that is not the one just handled; nothing once the user stops.
std::optional<ReadResult> RadioCommand::WaitForRadio()
{
    bool announced = false;
    while (!context.stopRequested()) {
        ReadResult read = runner->Read();
        const SessionOutcome& outcome = read.Outcome;
        const bool noRadio =
            outcome.Result == SessionResult::CannotOpen ||
            (outcome.Result == SessionResult::Failure && outcome.Step == SessionStep::ProgramCommand);
        if (noRadio) {
            justHandled = false;
            if (!announced)
                err() << QStringLiteral("Waiting for a radio on %1 (Ctrl-C to stop)").arg(port.Name())
                      << Qt::endl;
            announced = true;
        } else if (!justHandled ||
                   (read.Complete() && SerialNumberText(read.Image, context.codePage) != lastSerial)) {
            return read;
        }
        Pause();
    }
    return std::nullopt;
}

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
        break;
    }
    return {};
}

RadioReport RadioCommand::Failed(const SessionOutcome& outcome, const QString& refusal) const
{
    RadioReport report;
    switch (outcome.Result) {
    case SessionResult::Complete:
        return report;
    case SessionResult::CannotOpen:
        report.Code = ExitCode::CannotOpen;
        report.Message = QStringLiteral("%1 %2").arg(QLatin1String(CannotOpenText), outcome.Reason);
        break;
    case SessionResult::ModelError:
        report.Code = ExitCode::ModelError;
        if (outcome.Mode == SessionMode::Read)
            report.Message = OutcomeDetail(outcome);
        else if (restoreFile)
            report.Message =
                QStringLiteral("the radio is a %1, the backup file is of a %2; nothing was written")
                    .arg(outcome.RadioType, outcome.PcType);
        else
            report.Message = QStringLiteral("the radio is a %1, not a %2; nothing was written")
                                 .arg(outcome.RadioType, outcome.PcType);
        break;
    case SessionResult::Failure:
        report.Code = ExitCode::RadioFailure;
        report.Message = OutcomeDetail(outcome);
        break;
    case SessionResult::Refused:
        report.Code = ExitCode::Refused;
        report.Message =
            refusal.isEmpty() ? OutcomeDetail(outcome) : QStringLiteral("refused: %1").arg(refusal);
        break;
    }
    return report;
}

RadioReport RadioCommand::ReadRadio(const ReadResult& read)
{
    if (!read.Complete())
        return Failed(read.Outcome);
    RadioReport report;
    report.Type = ToDisplayTypeName(read.Record.Model);
    report.Serial = SerialNumberText(read.Image, context.codePage);
    const QString file = options.command == Command::Backup ? options.file : options.save;
    if (options.command == Command::Read) {
        switch (options.format) {
        case RecordFormat::Text:
            out() << (radios > 0 ? QStringLiteral("\n") : QString()) << RecordText(read.Record);
            break;
        case RecordFormat::Json:
            out() << QJsonDocument(RecordJson(read.Record))
                         .toJson(options.repeat ? QJsonDocument::Compact : QJsonDocument::Indented)
                         .trimmed()
                  << '\n';
            break;
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
            report.Message = QStringLiteral("the image was read but not saved: %1").arg(saved.Error);
        } else {
            report.Message = QStringLiteral("saved in %1").arg(saved.Path);
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
            return WriteDecision{true, radio, {}, {}};
        }
        out() << QStringLiteral("%1 %2 %3:\n").arg(port.Name(), report.Type, report.Serial)
              << (plan.Changes.isEmpty() ? QStringLiteral("  (no change)\n") : ChangeLines(plan.Changes));
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
            out() << QStringLiteral("  Backup: %1\n").arg(saved.Path);
            out().flush();
        }
        return saved.Error;
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
    return failure;
}

RadioReport RadioCommand::RestoreDryRun(const ReadResult& read)
{
    if (!read.Complete())
        return Failed(read.Outcome);
    RadioReport report;
    report.Type = ToDisplayTypeName(read.Record.Model);
    report.Serial = SerialNumberText(read.Image, context.codePage);
    if (ToRadioTypeName(read.Record.Model) != CanonicalTypeName(restoreFile->RadioType)) {
        report.Code = ExitCode::ModelError;
        report.Message = QStringLiteral("the radio is a %1, the backup file is of a %2")
                             .arg(report.Type, ToDisplayTypeName(restoreFile->RadioType));
        return report;
    }
    const WritePlan plan = PlanRestore(*restoreFile, options, read.Record, read.Image, context.codePage);
    if (plan.Refuse) {
        report.Code = ExitCode::Refused;
        report.Message = QStringLiteral("a restore would be refused: %1").arg(plan.Refusal);
        return report;
    }
    out() << QStringLiteral("%1 %2 %3:\n").arg(port.Name(), report.Type, report.Serial)
          << (plan.Changes.isEmpty() ? QStringLiteral("  (no change)\n") : ChangeLines(plan.Changes));
    out().flush();
    report.Changed = ChangedKeys(plan.Changes);
    report.Message = QStringLiteral("dry run, nothing written");
    return report;
}

void RadioCommand::Report(const RadioReport& report)
{
    ++radios;
    const bool isDone = report.Code == ExitCode::Done;
    const QString word = ResultWord(report.Code);
    (isDone ? done : word == u"skipped" ? skipped : failed)++;
    if (!isDone && !firstNotDone)
        firstNotDone = report.Code;
    justHandled = true;
    lastSerial = report.Serial;

    QString line = options.repeat ? QStringLiteral("radio %1: ").arg(radios) : QString();
    QStringList radio{port.Name()};
    for (const QString& part : {report.Type, report.Serial})
        if (!part.isEmpty())
            radio << part;
    line += radio.join(u' ');
    line += QStringLiteral(": ") + word;
    if (isDone && !report.Changed.isEmpty())
        line += QStringLiteral(" (%1)").arg(report.Changed.join(QStringLiteral(", ")));
    if (!report.Message.isEmpty())
        line += QStringLiteral(": ") + report.Message;
    // A lone read prints its record and nothing more, unless something went wrong.
    if (options.repeat || options.command != Command::Read || !isDone || !report.Message.isEmpty())
        err() << line << Qt::endl;

    if (const QString error = log.Append(
            {QDateTime::currentDateTime(), port.Name(), report.Type, report.Serial, word, report.Changed});
        !error.isEmpty())
        err() << "tangelo-cli: the log cannot be written: " << error << Qt::endl;
}

} // namespace

int RunRadioCommand(const CliOptions& options, CliContext& context)
{
    RadioCommand command(options, context);
    return command.Run();
}

int ListPorts(CliContext& context)
{
    const QList<SerialPortEntry> ports = context.settings.DiscoverSerialPorts();
    for (const SerialPortEntry& entry : ports)
        *context.out << QStringLiteral("COM%1").arg(entry.Number).leftJustified(8) << entry.Description
                     << '\n';
    if (ports.isEmpty())
        *context.err << "No serial ports found." << Qt::endl;
    context.out->flush();
    return int(ExitCode::Done);
}
