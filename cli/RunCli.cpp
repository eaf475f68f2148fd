#include "cli/CliContext.h"
#include "cli/CliOptions.h"
#include "cli/RadioCommands.h"
#include "data/ControlCharacters.h"
#include "link/PortlessCableText.h"
#include "ports/ComPorts.h"
#include "ports/PortlessCables.h"
#include "system/ProgramTranslations.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <optional>

namespace {

class PortsText
{
    Q_DECLARE_TR_FUNCTIONS(PortsText)
};

QJsonObject CableJson(const PortlessCable& cable)
{
    return {
        {QStringLiteral("maker"), cable.Maker},
        {QStringLiteral("product"), cable.Product},
        {QStringLiteral("vendor_id"), cable.VendorId},
        {QStringLiteral("product_id"), cable.ProductId},
        {QStringLiteral("usb_bridge"), cable.Chip},
        {QStringLiteral("reason"), PortlessReasonKey(cable.Reason)},
        {QStringLiteral("driver"), cable.Driver},
        {QStringLiteral("module"), cable.Module},
        {QStringLiteral("driver_version"), cable.DriverVersion},
        {QStringLiteral("problem_code"), int(cable.ProblemCode)},
        {QStringLiteral("text"), PortlessCableSentence(cable)},
    };
}

int ListPortsJson(const QList<SerialPortEntry>& ports, const QList<PortlessCable>& cables,
                  CliContext& context)
{
    // Read by programs and by support anywhere: English whatever the language.
    const SourceTextsOnly english;
    QJsonArray portArray;
    for (const SerialPortEntry& entry : ports)
        portArray.append(QJsonObject{{QStringLiteral("port"), QStringLiteral("COM%1").arg(entry.Number)},
                                     {QStringLiteral("device"), entry.DevicePath},
                                     {QStringLiteral("description"), entry.Description}});
    QJsonArray cableArray;
    for (const PortlessCable& cable : cables)
        cableArray.append(CableJson(cable));
    *context.out << QJsonDocument(QJsonObject{{QStringLiteral("ports"), portArray},
                                              {QStringLiteral("cables_without_port"), cableArray}})
                        .toJson(QJsonDocument::Indented);
    context.out->flush();
    return int(ExitCode::Done);
}

int ListPorts(const CliOptions& options, CliContext& context)
{
    const QList<SerialPortEntry> ports = context.settings.DiscoverSerialPorts();
    const QList<PortlessCable> cables = context.settings.FindPortlessCables();
    if (options.format == RecordFormat::Json)
        return ListPortsJson(ports, cables, context);
    for (const SerialPortEntry& entry : ports)
        // The adapter's maker and product are the device's own texts.
        *context.out << QStringLiteral("COM%1").arg(entry.Number).leftJustified(8)
                     << EscapeControlCharacters(entry.Description) << '\n';
    if (ports.isEmpty())
        *context.err << PortsText::tr("No serial ports found.") << Qt::endl;
    for (const PortlessCable& cable : cables)
        *context.out << PortlessCableSentence(cable) << '\n';
    context.out->flush();
    return int(ExitCode::Done);
}

} // namespace

int RunCli(const QStringList& arguments, CliContext& context)
{
    const CommandLine line = ParseCommandLine(arguments, context.codePage);
    if (!line.error.isEmpty()) {
        *context.err << line.error << Qt::endl;
        return int(ExitCode::Usage);
    }
    if (!line.options) {
        *context.out << line.text;
        context.out->flush();
        return int(ExitCode::Done);
    }
    // The trace writes its lines to the screen as they come: a line written over in place would break
    // into them, and they show the waits anyway.
    if (line.options->trace)
        context.status = nullptr;
    // The radio's texts in the code page given, for every part of the run (records, backups, logs).
    if (line.options->codePage)
        context.codePage = *line.options->codePage;
    if (line.options->command == Command::Ports)
        return ListPorts(*line.options, context);
    if (line.options->command == Command::Check)
        return RunCheck(*line.options, context);
    if (line.options->command == Command::Backups)
        return RunBackupList(*line.options, context);
    return RunRadioCommand(*line.options, context);
}
