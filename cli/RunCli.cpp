#include "cli/CliContext.h"
#include "cli/CliOptions.h"
#include "cli/RadioCommands.h"
#include "data/ControlCharacters.h"
#include "ports/ComPorts.h"

#include <QCoreApplication>

namespace {

class PortsText
{
    Q_DECLARE_TR_FUNCTIONS(PortsText)
};

int ListPorts(CliContext& context)
{
    const QList<SerialPortEntry> ports = context.settings.DiscoverSerialPorts();
    for (const SerialPortEntry& entry : ports)
        // The adapter's maker and product are the device's own texts.
        *context.out << QStringLiteral("COM%1").arg(entry.Number).leftJustified(8)
                     << EscapeControlCharacters(entry.Description) << '\n';
    if (ports.isEmpty())
        *context.err << PortsText::tr("No serial ports found.") << Qt::endl;
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
        return ListPorts(context);
    if (line.options->command == Command::Check)
        return RunCheck(*line.options, context);
    if (line.options->command == Command::Backups)
        return RunBackupList(*line.options, context);
    return RunRadioCommand(*line.options, context);
}
