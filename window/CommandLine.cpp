#include "window/CommandLine.h"

#include "ProgramInfo.h"
#include "window/CommandLineSystem.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace {

void Print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

QString HelpText(const QCommandLineParser& parser)
{
    // The usage line names the program as it is known, whatever the executable's file is called.
    QString text = parser.helpText();
    const qsizetype firstLineEnd = text.indexOf(u'\n');
    text.replace(0, firstLineEnd, CommandLineText::tr("Usage: TANGELO_Tune [options]"));
    return text + SettingsHelpText();
}

} // namespace

std::optional<int> HandleCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        CommandLineText::tr("Reads and writes the information block of TANGELOUV, TANGELOSU and TANGELOSV "
                            "radios over a serial port."));
    // Not addHelpOption(): its --help-all would list Qt's own options, which are not taken here.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  CommandLineText::tr("Displays this help."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     CommandLineText::tr("Displays version information."));
    parser.addOption(help);
    parser.addOption(version);

    // So that Qt's own -platform, which is not taken here, is named as one option, not eight letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    QString error;
    if (!parser.parse(arguments))
        error = parser.errorText();
    else if (!parser.positionalArguments().isEmpty())
        error =
            CommandLineText::tr("Unexpected argument '%1'.").arg(parser.positionalArguments().constFirst());
    if (!error.isEmpty() || parser.isSet(help) || parser.isSet(version))
        UseStartingConsole();
    if (!error.isEmpty()) {
        Print(stderr, QStringLiteral("TANGELO_Tune: %1\n\n").arg(error) + HelpText(parser));
        return 2;
    }
    if (parser.isSet(help)) {
        Print(stdout, HelpText(parser));
        return 0;
    }
    if (parser.isSet(version)) {
        Print(stdout, QStringLiteral("TANGELO_Tune %1\n").arg(QString::fromLatin1(ProgramVersion)));
        return 0;
    }
    return std::nullopt;
}
