#include "cli/CliContext.h"
#include "cli/CliOptions.h"
#include "cli/RadioCommands.h"

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
    if (line.options->command == Command::Ports)
        return ListPorts(context);
    return RunRadioCommand(*line.options, context);
}
