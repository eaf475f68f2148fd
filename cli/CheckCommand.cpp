// tangelo-cli check: the link to the radio step by step, with the words the session gives a failure,
// on the port given or on each port that a programming cable may be on. It sends the program
// command, the identity request and the end command, and nothing else.
#include "cli/RadioCommands.h"
#include "cli/RecordOutput.h"
#include "cli/StatusLine.h"
#include "cli/TerminalText.h"
#include "data/ControlCharacters.h"
#include "link/ModelCheck.h"
#include "link/PortlessCableText.h"
#include "link/SerialPlatform.h"
#include "link/SessionMessages.h"
#include "ports/CableInfo.h"
#include "ports/PortlessCables.h"
#include "ports/UsbBridge.h"
#include "system/ProgramTranslations.h"
#include "system/SystemLanguage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>

#include <algorithm>
#include <optional>

namespace {

class CheckText
{
    Q_DECLARE_TR_FUNCTIONS(CheckText)
};

// One step of the chain. Name and Result are for programs and stay English; Text is for the person.
struct Step
{
    const char* Name;   // port, open, program_command, identity, end_command
    const char* Result; // ok, failed, refused, port_lost, not_listed, no_reply, not_sent
    QString Text;
};

struct PortCheck
{
    PortChoice Port;
    std::optional<SerialPortEntry> Entry; // the port as the list has it
    QString Chip;                         // the cable's USB serial bridge, when known
    QList<Step> Steps;
    ExitCode Code = ExitCode::Done;
    QString Type; // the radio's type, when it answered
    int16_t Band = 0;
};

// The port's entry in the list: by number, or for a device path by the device it names.
std::optional<SerialPortEntry> ListEntry(const PortChoice& port, const QList<SerialPortEntry>& ports)
{
    const QString device = QFileInfo(port.Device).canonicalFilePath();
    for (const SerialPortEntry& entry : ports) {
        if (port.Number > 0 && entry.Number == port.Number)
            return entry;
        if (port.Number <= 0 && !device.isEmpty() &&
            QFileInfo(entry.DevicePath).canonicalFilePath() == device)
            return entry;
    }
    return std::nullopt;
}

Step PortStep(const PortCheck& check)
{
    if (!check.Entry)
        return {"port", "not_listed",
                CheckText::tr("%1 is not in the port list; it is tried as given.").arg(check.Port.Name())};
    const QString name = QStringLiteral("COM%1").arg(check.Entry->Number);
    if (check.Chip.isEmpty())
        return {"port", "ok",
                CheckText::tr("%1 is in the port list: %2.").arg(name, check.Entry->Description)};
    return {"port", "ok",
            CheckText::tr("%1 is in the port list: %2; its cable has a %3 USB serial bridge.")
                .arg(name, check.Entry->Description, check.Chip)};
}

// The words of a failure, as a read's: a check reads nothing, and neither did the read it is worded as.
QString FailureDetail(const SessionOutcome& outcome)
{
    SessionOutcome asRead = outcome;
    asRead.Mode = SessionMode::Read;
    return OutcomeDetail(asRead);
}

// The step that ended a check that failed: the port gone (exit code 3, as for a port that cannot be
// opened), the radio refusing the frame, or anything else the line carried instead of a reply.
void AddFailedStep(PortCheck& check, const char* name, const SessionOutcome& outcome)
{
    if (outcome.PortLost) {
        check.Steps.append({name, "port_lost", FailureDetail(outcome)});
        check.Code = ExitCode::CannotOpen;
        return;
    }
    const bool refused = !outcome.Line.isEmpty() && std::ranges::all_of(outcome.Line, [](const LineTry& one) {
        return one.Carried == TryCarried::NegativeReply;
    });
    check.Steps.append({name, refused ? "refused" : "failed", FailureDetail(outcome)});
    check.Code = ExitCode::RadioFailure;
}

// The steps the session went through, up to the one that ended it.
void AddSessionSteps(PortCheck& check, const CheckResult& result)
{
    const SessionOutcome& outcome = result.Outcome;
    const QString name = check.Port.Name();
    if (outcome.Result == SessionResult::CannotOpen) {
        check.Steps.append({"open", "failed", OutcomeDetail(outcome)});
        check.Code = ExitCode::CannotOpen;
        return;
    }
    check.Steps.append({"open", "ok", CheckText::tr("%1 opened.").arg(name)});
    if (outcome.Result == SessionResult::Failure && outcome.Step == SessionStep::ProgramCommand) {
        AddFailedStep(check, "program_command", outcome);
        return;
    }
    check.Steps.append({"program_command", "ok", CheckText::tr("The radio answered the program command.")});
    if (outcome.Result == SessionResult::Failure && outcome.Step == SessionStep::Identity) {
        AddFailedStep(check, "identity", outcome);
        return;
    }
    if (outcome.Result == SessionResult::ModelError) {
        check.Steps.append({"identity", "failed", FailureDetail(outcome)});
        check.Steps.append({"end_command", "not_sent",
                            CheckText::tr("The end command was not sent, as a read sends none to a radio "
                                          "of a type it does not know.")});
        check.Type = outcome.RadioType;
        check.Code = ExitCode::ModelError;
        return;
    }
    check.Type = ToDisplayTypeName(result.Identity);
    check.Band = result.Band;
    check.Steps.append({"identity", "ok",
                        CheckText::tr("The radio is a %1, band %2: %3.")
                            .arg(check.Type)
                            .arg(result.Band)
                            .arg(BandName(result.Band))});
    if (outcome.Result != SessionResult::Complete) {
        AddFailedStep(check, "end_command", outcome);
        return;
    }
    if (result.EndAnswered)
        check.Steps.append({"end_command", "ok", CheckText::tr("The radio answered the end command.")});
    else
        check.Steps.append({"end_command", "no_reply",
                            CheckText::tr("The end command got no reply; switch the radio off and on "
                                          "before you use it.")});
}

PortCheck CheckPort(const PortChoice& port, const QList<SerialPortEntry>& ports, const CliContext& context)
{
    PortCheck check;
    check.Port = port;
    check.Entry = ListEntry(port, ports);
    if (check.Entry)
        check.Chip = UsbBridgeChip(DescribePortDevice(*check.Entry, context.settings.SysRoot()));
    check.Steps.append(PortStep(check));
    // The latency timer slows every reply without failing any: the check reports it beside the port.
    if (check.Entry) {
        const QString device = check.Entry->DevicePath;
        const QString advice = LatencyTimerAdvice(CableInfoFor(device), device);
        if (!advice.isEmpty())
            check.Steps.append({"latency_timer", "slow", advice});
    }
    RadioRunner runner(context, port);
    AddSessionSteps(check, runner.Check());
    return check;
}

QJsonObject PortJson(const PortCheck& check)
{
    QJsonArray steps;
    for (const Step& step : check.Steps)
        steps.append(QJsonObject{{QStringLiteral("step"), QLatin1String(step.Name)},
                                 {QStringLiteral("result"), QLatin1String(step.Result)},
                                 {QStringLiteral("text"), step.Text}});
    QJsonObject object{
        {QStringLiteral("port"), check.Port.Name()},
        {QStringLiteral("device"), check.Entry ? check.Entry->DevicePath : check.Port.Device},
        {QStringLiteral("description"), check.Entry ? check.Entry->Description : QString()},
        {QStringLiteral("usb_bridge"), check.Chip},
        {QStringLiteral("steps"), steps},
        {QStringLiteral("exit_code"), int(check.Code)},
    };
    if (!check.Type.isEmpty()) {
        object.insert(QStringLiteral("type"), check.Type);
        if (check.Code == ExitCode::Done)
            object.insert(QStringLiteral("band"), check.Band);
    }
    return object;
}

void PrintSteps(QTextStream& out, const PortCheck& check, const QString& indent)
{
    for (const Step& step : check.Steps) {
        // A step's own line breaks stay; anything else that would act on the terminal is escaped.
        QStringList lines = step.Text.split(u'\n');
        for (QString& line : lines)
            line = EscapeControlCharacters(line);
        out << indent << lines.join(u'\n') << '\n';
    }
}

class Check
{
public:
    Check(const CliOptions& given, CliContext& runContext) : options(given), context(runContext) {}

    int Run()
    {
        const QList<SerialPortEntry> ports = context.settings.DiscoverSerialPorts();
        if (!options.port.isEmpty())
            return OnePort(ports);
        return EveryCablePort(ports);
    }

private:
    QTextStream& out() const { return *context.out; }
    bool Json() const { return options.format == RecordFormat::Json; }

    int OnePort(const QList<SerialPortEntry>& ports)
    {
        QString error;
        const std::optional<PortChoice> port = ResolvePort(options.port, context.settings, error);
        if (!port) {
            *context.err << "tangelo-cli: " << error << Qt::endl;
            return int(ExitCode::Usage);
        }
        const PortCheck check = CheckPort(*port, ports, context);
        if (Json())
            out() << JsonForTerminal(QJsonDocument(PortJson(check)), QJsonDocument::Indented) << '\n';
        else
            PrintSteps(out(), check, {});
        out().flush();
        return int(check.Code);
    }

    // Each port with a USB serial bridge or an alias, one after the other, until a radio answers.
    int EveryCablePort(const QList<SerialPortEntry>& ports)
    {
        // A cable that gives no port cannot be tried: said first, as the likeliest cause of what follows.
        const QList<PortlessCable> portless = context.settings.FindPortlessCables();
        if (!Json() && !portless.isEmpty()) {
            out() << PortlessCablesText(portless) << '\n';
            out().flush();
        }
        QList<PortCheck> checks;
        QStringList notTried;
        const PortCheck* found = nullptr;
        for (const SerialPortEntry& entry : ports) {
            const QString chip = UsbBridgeChip(DescribePortDevice(entry, context.settings.SysRoot()));
            if (chip.isEmpty() && !IsAliasedPort(entry.Number, context.settings.AliasDirectory())) {
                notTried << QStringLiteral("COM%1").arg(entry.Number);
                continue;
            }
            if (found != nullptr)
                continue;
            // A port without a radio keeps the run silent for seconds: the person sees which it is.
            if (context.status != nullptr)
                context.status->Show(CheckText::tr("Trying COM%1 ...").arg(entry.Number));
            checks.append(CheckPort(PortChoice{entry.Number, {}}, ports, context));
            if (context.status != nullptr)
                context.status->Clear();
            if (!Json()) {
                out() << CheckText::tr("%1:").arg(checks.last().Port.Name()) << '\n';
                PrintSteps(out(), checks.last(), QStringLiteral("  "));
                out().flush();
            }
            if (checks.last().Code == ExitCode::Done || checks.last().Code == ExitCode::ModelError)
                found = &checks.last();
        }
        const ExitCode code = Conclusion(checks, found);
        QString summary;
        if (found != nullptr && found->Code == ExitCode::Done)
            summary = CheckText::tr("A radio answers on %1: choose %1 in the window, or give %2.")
                          .arg(found->Port.Name(), QStringLiteral("--port %1").arg(found->Port.Number));
        else if (found != nullptr)
            summary = CheckText::tr("A radio of a type this program does not know answers on %1.")
                          .arg(found->Port.Name());
        else if (checks.isEmpty() && !portless.isEmpty())
            summary = CheckText::tr("No port with a USB serial cable was found, but a cable is plugged in "
                                    "without a port: see above for why.");
        else if (checks.isEmpty())
            summary = CheckText::tr("No port with a USB serial cable was found: plug the cable in, or give "
                                    "its port with --port.");
        else
            summary = CheckText::tr("No radio answered on the ports tried.");
        const QLocale locale = LanguageLocale(SystemLanguageIndex());
        const QString skipped =
            notTried.isEmpty()
                ? QString()
                : CheckText::tr("Not tried, as neither a USB serial cable nor an alias of yours is behind "
                                "them: %1.")
                      .arg(locale.createSeparatedList(notTried));
        if (Json()) {
            QJsonArray tried;
            for (const PortCheck& check : checks)
                tried.append(PortJson(check));
            QJsonArray cables;
            for (const PortlessCable& cable : portless)
                cables.append(QJsonObject{{QStringLiteral("usb_bridge"), cable.Chip},
                                          {QStringLiteral("vendor_id"), cable.VendorId},
                                          {QStringLiteral("product_id"), cable.ProductId},
                                          {QStringLiteral("reason"), PortlessReasonKey(cable.Reason)},
                                          {QStringLiteral("text"), PortlessCableSentence(cable)}});
            QJsonObject object{
                {QStringLiteral("cables_without_port"), cables},
                {QStringLiteral("ports"), tried},
                {QStringLiteral("not_tried"), QJsonArray::fromStringList(notTried)},
                {QStringLiteral("radio_port"), found != nullptr && found->Code == ExitCode::Done
                                                   ? QJsonValue(found->Port.Name())
                                                   : QJsonValue(QJsonValue::Null)},
                {QStringLiteral("summary"), summary},
                {QStringLiteral("exit_code"), int(code)},
            };
            out() << JsonForTerminal(QJsonDocument(object), QJsonDocument::Indented) << '\n';
        } else {
            if (!skipped.isEmpty())
                out() << skipped << '\n';
            out() << summary << '\n';
        }
        out().flush();
        return int(code);
    }

    // The radio found decides; else a port that answered nothing; else none could be opened.
    static ExitCode Conclusion(const QList<PortCheck>& checks, const PortCheck* found)
    {
        if (found != nullptr)
            return found->Code;
        for (const PortCheck& check : checks)
            if (check.Code != ExitCode::CannotOpen)
                return ExitCode::RadioFailure;
        return checks.isEmpty() ? ExitCode::RadioFailure : ExitCode::CannotOpen;
    }

    const CliOptions& options;
    CliContext& context;
};

} // namespace

int RunCheck(const CliOptions& options, CliContext& context)
{
    if (options.trace)
        QLoggingCategory::setFilterRules(QStringLiteral("tangelo.link.debug=true"));
    // A report for a support ticket is read by people anywhere: its words stay English, as the
    // trace's do.
    std::optional<SourceTextsOnly> english;
    if (options.format == RecordFormat::Json)
        english.emplace();
    const int code = Check(options, context).Run();
    if (options.trace)
        QLoggingCategory::setFilterRules({});
    return code;
}
