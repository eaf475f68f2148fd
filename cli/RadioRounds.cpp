// The rounds of a radio command: once, or radio after radio with a prompt or without one; the line
// per radio, the log and the summary.
#include "cli/RadioCommand.h"
#include "cli/RadioCommands.h"
#include "cli/RecordOutput.h"
#include "data/ControlCharacters.h"
#include "settings/BackupFolder.h"
#include "system/SystemLanguage.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QThread>

#include <algorithm>

namespace {

// The answers to the prompt that end a run, in either language: "q" is on every keyboard, "退"
// (退出, quit) is what a Chinese input method gives.
bool IsQuitAnswer(const QString& line)
{
    const QString answer = line.trimmed();
    return answer.compare(QStringLiteral("q"), Qt::CaseInsensitive) == 0 ||
           answer.compare(QStringLiteral("quit"), Qt::CaseInsensitive) == 0 || answer == QStringView(u"退") ||
           answer == QStringView(u"退出");
}

// The result as the --log file has it, English in every language.
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

// The result for the person at the terminal.
QString ResultText(ExitCode code)
{
    const QString word = ResultWord(code);
    if (word == u"done")
        return RadioCommand::tr("done");
    if (word == u"skipped")
        return RadioCommand::tr("skipped");
    return RadioCommand::tr("failed");
}

} // namespace

std::optional<PortChoice> ResolvePort(const QString& given, const ProgramSettings& settings, QString& error)
{
    if (given.isEmpty()) {
        const int16_t saved = settings.LoadComPortSetting();
        if (saved <= 0) {
            error = RadioCommand::tr("no --port given, and no port is chosen in the window");
            return std::nullopt;
        }
        return PortChoice{saved, {}, PortSource::Saved};
    }
    // A device path: /dev/ttyUSB0, or on Windows \\.\COM5.
    if (given.contains(u'/') || given.contains(u'\\'))
        return PortChoice{0, given};
    const QString digits =
        given.startsWith(QStringLiteral("COM"), Qt::CaseInsensitive) ? given.mid(3) : given;
    bool ok = false;
    const int number = digits.toInt(&ok);
    if (!ok || number < 1 || number > 999) {
        error = RadioCommand::tr("--port: '%1' is no COM number (1 to 999) or device path").arg(given);
        return std::nullopt;
    }
    return PortChoice{int16_t(number), {}};
}

namespace {

// A place for a new backup file: a folder (the file is named there), or a file that is not there yet.
QString CheckNewFile(const QString& path, bool several)
{
    const QFileInfo info(path);
    if (info.isDir())
        return {};
    if (info.exists() || info.isSymLink())
        return RadioCommand::tr("%1 is there already; give a new file or a folder").arg(path);
    if (several)
        return RadioCommand::tr("with --repeat, %1 must be a folder").arg(path);
    if (!info.absoluteDir().exists())
        return RadioCommand::tr("%1: its folder does not exist").arg(path);
    return {};
}

} // namespace

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
            return tr("%1: the file lacks blocks %2 to 4").arg(options.file).arg(parsed.Backup->Blocks);
        if (CanonicalTypeName(parsed.Backup->RadioType).isEmpty())
            return tr("%1: no radio type '%2'").arg(options.file, parsed.Backup->RadioType);
        restoreFile = parsed.Backup;
    }
    if (const QString problem = log.Open(); !problem.isEmpty())
        return tr("the log cannot be written: %1").arg(problem);
    return {};
}

int RadioCommand::Run()
{
    if (const QString error = Prepare(); !error.isEmpty()) {
        err() << "tangelo-cli: " << EscapeControlCharacters(error) << Qt::endl;
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
            } else if (radios > 0) {
                if (!AskForNextRadio())
                    break;
                // Enter pressed with the radio just done still connected must not write it again:
                // the radio is read first and known by its serial number.
                probe = runner->Read();
                if (justDone && probe->Complete() && !lastSerial.isEmpty() &&
                    SerialNumberText(probe->Image, context.codePage) == lastSerial) {
                    err() << EscapeControlCharacters(
                                 tr("the same radio as before, %1: connect the next one").arg(lastSerial))
                          << Qt::endl;
                    continue;
                }
            }
            Report(HandleRadio(probe));
        }
        const auto count = [this](const QString& word) {
            return int(std::count_if(counted.begin(), counted.end(), [&word](const CountedRadio& radio) {
                return ResultWord(radio.Code) == word;
            }));
        };
        err() << tr("Summary: %n done, %1 failed, %2 skipped", nullptr, count(QStringLiteral("done")))
                     .arg(count(QStringLiteral("failed")))
                     .arg(count(QStringLiteral("skipped")))
              << Qt::endl;
    }

    if (options.trace)
        QLoggingCategory::setFilterRules({});
    // The code of the first radio that did not end done.
    for (const CountedRadio& radio : counted)
        if (radio.Code != ExitCode::Done)
            return int(radio.Code);
    return int(ExitCode::Done);
}

bool RadioCommand::AskForNextRadio()
{
    // Enter goes on, a quit word or the end of the input stops; anything else asks again.
    for (;;) {
        err() << tr("Connect the next radio, then press Enter; q to quit") << Qt::endl;
        const std::optional<QString> line = context.readLine ? context.readLine() : std::nullopt;
        if (!line || IsQuitAnswer(*line))
            return false;
        if (line->trimmed().isEmpty())
            return true;
    }
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
            // Said once; a port that cannot be opened (a cable unplugged, no permission) says why.
            if (!announced)
                err() << (outcome.Result == SessionResult::CannotOpen
                              ? tr("Waiting for a radio on %1 (Ctrl-C to stop); the port cannot be opened "
                                   "now: %2")
                                    .arg(port.Name(), outcome.Reason)
                              : tr("Waiting for a radio on %1 (Ctrl-C to stop)").arg(port.Name()))
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

void RadioCommand::Report(const RadioReport& report)
{
    ++radios;
    const bool isDone = report.Code == ExitCode::Done;
    const QString word = ResultWord(report.Code);
    // A radio done again after it failed counts once, with how it ended last; one without a serial
    // number (no radio answered) counts on its own.
    const auto same = std::find_if(counted.begin(), counted.end(), [&report](const CountedRadio& radio) {
        return !report.Serial.isEmpty() && radio.Serial == report.Serial;
    });
    if (same != counted.end())
        same->Code = report.Code;
    else
        counted.append({report.Serial, report.Code});
    justHandled = true;
    justDone = isDone;
    lastSerial = report.Serial;

    QStringList radio{report.Port.isEmpty() ? port.Name() : report.Port};
    for (const QString& part : {report.Type, report.Serial})
        if (!part.isEmpty())
            radio << part;
    // The changed fields as the record text names them; the --log file has their keys.
    QStringList changed;
    for (const QString& key : report.Changed)
        changed << RecordLabel(key);
    const QString result =
        isDone && !changed.isEmpty()
            ? tr("%1 (%2)").arg(ResultText(report.Code),
                                LanguageLocale(SystemLanguageIndex()).createSeparatedList(changed))
            : ResultText(report.Code);
    // A port that does not open is named by the reason itself ("COM5 (/dev/ttyUSB0) is held by …"):
    // the line names it once.
    const bool portInMessage = report.Code == ExitCode::CannotOpen && !report.Message.isEmpty();
    QString line;
    if (portInMessage) {
        line = options.repeat ? tr("radio %1: %2: %3").arg(QString::number(radios), result, report.Message)
                              : tr("%1: %2").arg(result, report.Message);
    } else {
        const QString head =
            options.repeat ? tr("radio %1: %2").arg(radios).arg(radio.join(u' ')) : radio.join(u' ');
        line = report.Message.isEmpty() ? tr("%1: %2").arg(head, result)
                                        : tr("%1: %2: %3").arg(head, result, report.Message);
    }
    // A lone read prints its record and nothing more, unless something went wrong.
    if (options.repeat || options.command != Command::Read || !isDone || !report.Message.isEmpty())
        err() << EscapeControlCharacters(line) << Qt::endl;

    if (const QString error = log.Append({QDateTime::currentDateTime(), port.Name(), report.Type,
                                          report.Serial, word, report.Changed, report.Why});
        !error.isEmpty())
        err() << "tangelo-cli: " << tr("the log cannot be written: %1").arg(error) << Qt::endl;
}

int RunRadioCommand(const CliOptions& options, CliContext& context)
{
    RadioCommand command(options, context);
    return command.Run();
}
