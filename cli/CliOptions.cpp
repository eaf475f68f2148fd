#include "cli/CliOptions.h"

#include "cli/TerminalText.h"
#include "data/BandTable.h"
#include "data/ControlCharacters.h"
#include "data/ModData.h"
#include "ProgramInfo.h"
#include "system/SystemLanguage.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <array>

namespace {

// The help pages, in the program's language; what they name (options, values, commands) stays.
class CliHelp
{
    Q_DECLARE_TR_FUNCTIONS(CliHelp)
};
// What is wrong with a command line.
class CliUsage
{
    Q_DECLARE_TR_FUNCTIONS(CliUsage)
};

constexpr unsigned Bit(Command command)
{
    return 1U << static_cast<unsigned>(command);
}
constexpr unsigned OnRadio =
    Bit(Command::Read) | Bit(Command::Write) | Bit(Command::Backup) | Bit(Command::Restore);
constexpr unsigned Repeating = Bit(Command::Read) | Bit(Command::Write) | Bit(Command::Restore);
constexpr unsigned Writing = Bit(Command::Write) | Bit(Command::Restore);
// The commands that turn the radio's texts into characters or back.
constexpr unsigned TextPages =
    Bit(Command::Read) | Bit(Command::Write) | Bit(Command::Restore) | Bit(Command::Backups);

struct CommandSpec
{
    Command command;
    const char* name;
    const char* usage;
    const char* description;
};

// The descriptions are marked for translation; the usage lines are what is typed and stay.
constexpr std::array<CommandSpec, 7> Commands{{
    {Command::Ports, "ports", "ports [--json]",
     QT_TRANSLATE_NOOP("CliHelp",
                       "Lists the serial ports as the window's list does: COM number, device and adapter. "
                       "Then each USB serial cable that is plugged in but has no port, with why and what "
                       "to do.")},
    {Command::Check, "check", "check [--port N] [--json]",
     QT_TRANSLATE_NOOP(
         "CliHelp", "Checks the link to the radio step by step, one line per step: the port and its cable, "
                    "the opening, the program command, the radio's identity (type and band) and the end "
                    "command. Reads no block and writes nothing. Without --port it tries each port with a "
                    "USB serial cable (CH340, CH341, CH9102, CH343, PL2303, CP210x, FTDI) and each port "
                    "given a number of your own, never a built-in serial port or a modem, and says on "
                    "which one a radio answers.")},
    {Command::Read, "read",
     "read [--port N] [--json | --csv [--header]] [--save FILE] [--code-page N] [--repeat [--no-prompt]]",
     QT_TRANSLATE_NOOP(
         "CliHelp", "Reads the radio and prints its record as the window shows it: every field, the band's "
                    "name and the switches; as text, as JSON, or as one CSV line per radio.")},
    {Command::Write, "write",
     "write [--port N] [--type NAME] [--dealer-code TEXT] [--stock-date TEXT] [--sell-date TEXT] "
     "[--seller TEXT] [--password TEXT] [--band-setting on|off] [--band N|NAME] [--code-page N] [--yes] "
     "[--repeat [--no-prompt]]",
     QT_TRANSLATE_NOOP(
         "CliHelp", "Writes the fields given and only those: every other byte goes back as the radio holds "
                    "it. Prints each changed field as before → after. Before any block is written, the "
                    "image as read is saved as an automatic backup; the write is refused when that fails "
                    "(unless --no-backup). A text too wide for its field in the radio's code page is an "
                    "error, never cut. A band change needs --yes; a radio in the 66 - 88 MHz band (18) "
                    "cannot be given another band.")},
    {Command::Backup, "backup", "backup [--port N] FILE",
     QT_TRANSLATE_NOOP("CliHelp",
                       "Reads the radio and keeps its whole image, its type and its serial number in FILE (a "
                       "new file; a folder gets a file named after the serial number and the time).")},
    {Command::Restore, "restore",
     "restore [--port N] [--force] [--dry-run] [--code-page N] [--yes] [--repeat [--no-prompt]] FILE",
     QT_TRANSLATE_NOOP(
         "CliHelp", "Writes the dealer fields, password, band-setting switch and band of a backup file (or "
                    "of an automatic backup) back to the radio, byte for byte, as a write does: the "
                    "radio's type is checked, its blocks read and saved as a backup, then blocks 0 to 4 "
                    "written. Refuses a file of another radio type, and of another serial number unless "
                    "--force. Prints what it changes before it writes.")},
    {Command::Backups, "backups", "backups [--code-page N] [SERIAL]",
     QT_TRANSLATE_NOOP("CliHelp",
                       "Lists the automatic backups, newest first: time, radio type, serial number, dealer "
                       "code, seller and file; with SERIAL only those of serial numbers that contain it. "
                       "'restore' takes the file.")},
}};

struct OptionSpec
{
    const char* name;
    const char* value; // nullptr: a switch
    const char* help;
    unsigned commands;
};

constexpr std::array<OptionSpec, 25> Options{{
    {"port", "N",
     QT_TRANSLATE_NOOP(
         "CliHelp", "The radio's port: a COM number as 'ports' lists it (900 or COM900), or a device path. "
                    "Default: the port chosen in the window."),
     OnRadio},
    {"port", "N",
     QT_TRANSLATE_NOOP("CliHelp", "Check this port only: a COM number as 'ports' lists it, or a device path. "
                                  "Default: every port a cable may be on."),
     Bit(Command::Check)},
    {"json", nullptr, QT_TRANSLATE_NOOP("CliHelp", "Print the record as JSON."), Bit(Command::Read)},
    {"json", nullptr,
     QT_TRANSLATE_NOOP("CliHelp", "Print the ports and the cables without a port as JSON (in English "
                                  "whatever the language)."),
     Bit(Command::Ports)},
    {"json", nullptr,
     QT_TRANSLATE_NOOP("CliHelp",
                       "Print the steps as JSON, for a support request (in English whatever the language)."),
     Bit(Command::Check)},
    {"csv", nullptr, QT_TRANSLATE_NOOP("CliHelp", "Print the record as one CSV line."), Bit(Command::Read)},
    {"header", nullptr, QT_TRANSLATE_NOOP("CliHelp", "With --csv: print the names of the columns first."),
     Bit(Command::Read)},
    {"save", "FILE",
     QT_TRANSLATE_NOOP("CliHelp", "Also keep the image in FILE, as 'backup' does (with --repeat: a folder)."),
     Bit(Command::Read)},
    {"type", "NAME",
     QT_TRANSLATE_NOOP("CliHelp",
                       "The radio type to write (TANGELOUV, TANGELOSU, TANGELOSV); another radio is a model "
                       "error. Default: the type the radio reports, read first."),
     Bit(Command::Write)},
    {"dealer-code", "TEXT", QT_TRANSLATE_NOOP("CliHelp", "The dealer code (16 bytes)."), Bit(Command::Write)},
    {"stock-date", "TEXT", QT_TRANSLATE_NOOP("CliHelp", "The stock date, any text (16 bytes)."),
     Bit(Command::Write)},
    {"sell-date", "TEXT", QT_TRANSLATE_NOOP("CliHelp", "The sell date, any text (16 bytes)."),
     Bit(Command::Write)},
    {"seller", "TEXT", QT_TRANSLATE_NOOP("CliHelp", "The seller (16 bytes)."), Bit(Command::Write)},
    {"password", "TEXT", QT_TRANSLATE_NOOP("CliHelp", "The programming password (4 bytes)."),
     Bit(Command::Write)},
    {"band-setting", "on|off", QT_TRANSLATE_NOOP("CliHelp", "The band-setting switch."), Bit(Command::Write)},
    {"band", "N|NAME",
     QT_TRANSLATE_NOOP("CliHelp", "The band: its number (0 to 18) or its name as 'read' shows it."),
     Bit(Command::Write)},
    {"code-page", "N",
     QT_TRANSLATE_NOOP("CliHelp",
                       "The code page of the radio's texts, for a radio written on a system of another "
                       "language: one of %1 (936: Simplified Chinese, 1252: Western European). Default: "
                       "the system's, as the window uses."),
     TextPages},
    {"yes", nullptr, QT_TRANSLATE_NOOP("CliHelp", "Agree to a change of the radio's band."), Writing},
    {"force", nullptr, QT_TRANSLATE_NOOP("CliHelp", "Restore a file of another serial number."),
     Bit(Command::Restore)},
    {"dry-run", nullptr, QT_TRANSLATE_NOOP("CliHelp", "Print what would change, and write nothing."),
     Bit(Command::Restore)},
    {"no-backup", nullptr, QT_TRANSLATE_NOOP("CliHelp", "Do not save the automatic backup before writing."),
     Writing},
    {"repeat", nullptr,
     QT_TRANSLATE_NOOP(
         "CliHelp", "Radio after radio: after each one, prompt \"Connect the next radio, then press Enter; "
                    "q to quit\"; one line per radio, a summary at the end."),
     Repeating},
    {"no-prompt", nullptr,
     QT_TRANSLATE_NOOP("CliHelp",
                       "With --repeat: no prompt; the program command is tried again until a radio answers "
                       "(the radio just done counts once it is taken away or another one answers). Ctrl-C "
                       "ends the run."),
     Repeating},
    {"log", "FILE.csv",
     QT_TRANSLATE_NOOP("CliHelp",
                       "Append a line per radio: time, port, type, serial number, result, changed fields "
                       "and, for a radio failed or skipped, the reason. Only a new file, an empty one or "
                       "such a log is taken."),
     OnRadio},
    {"trace", nullptr, QT_TRANSLATE_NOOP("CliHelp", "Trace the link's frames and events on standard error."),
     OnRadio | Bit(Command::Check)},
}};

struct TextOption
{
    TextField field;
    const char* option;
    const char* label; // as a sentence names the field
    int width;
};
constexpr std::array<TextOption, 5> TextOptions{{
    {TextField::DealerCode, "dealer-code", QT_TRANSLATE_NOOP("CliUsage", "dealer code"), Width::DealerCode},
    {TextField::StockDate, "stock-date", QT_TRANSLATE_NOOP("CliUsage", "stock date"), Width::StockDate},
    {TextField::SellDate, "sell-date", QT_TRANSLATE_NOOP("CliUsage", "sell date"), Width::SellDate},
    {TextField::Seller, "seller", QT_TRANSLATE_NOOP("CliUsage", "seller"), Width::Seller},
    {TextField::ProgramPassword, "password", QT_TRANSLATE_NOOP("CliUsage", "password"),
     Width::ProgramPassword},
}};

const TextOption& TextOptionOf(TextField field)
{
    for (const TextOption& option : TextOptions)
        if (option.field == field)
            return option;
    return TextOptions[0];
}

// The texts of this file are UTF-8, as the source is: the arrow of a change is not Latin-1.
QString Utf8(const char* text)
{
    return QString::fromUtf8(text);
}

// The end of every help page: the exit codes, and what stays the same in every language.
QString ExitCodesHelp()
{
    return CliHelp::tr("Exit codes:\n"
                       "  0  done\n"
                       "  1  radio failure or no reply\n"
                       "  2  usage: a wrong command line, or a file named on it\n"
                       "  3  the port cannot be opened, or it went away during check\n"
                       "  4  model error: the radio is not of the type given (or of the file's)\n"
                       "  5  refused: nothing was written\n"
                       "With --repeat: 0 when every radio was done, else the code of the first radio that "
                       "was not.\n") +
           u'\n' +
           WrapIndented(
               CliHelp::tr("What programs read does not change with the language: the --json keys, the "
                           "--csv columns, the backup file, the --log file, the exit codes and the "
                           "--trace output stay English."),
               0, 100) +
           u'\n';
}

// "874, 932, ... and 65001", worded in the program's language.
QString KnownCodePages()
{
    QStringList numbers;
    for (const int number : KnownCodePageNumbers())
        numbers << QString::number(number);
    return LanguageLocale(SystemLanguageIndex()).createSeparatedList(numbers);
}

QString Translated(const char* text)
{
    return QCoreApplication::translate("CliHelp", text);
}

QString TopHelp()
{
    QString help =
        CliHelp::tr("Usage: tangelo-cli COMMAND [OPTIONS]") + QStringLiteral("\n\n") +
        WrapIndented(CliHelp::tr("Reads and writes the information block of TANGELO radios from the "
                                 "command line, radio after radio."),
                     0, 100) +
        QStringLiteral("\n\n") + CliHelp::tr("Commands:") + u'\n';
    for (const CommandSpec& spec : Commands)
        help += QStringLiteral("  %1 %2\n")
                    .arg(Utf8(spec.name), -8)
                    .arg(WrapIndented(Translated(spec.description), 11, 100));
    help +=
        u'\n' +
        WrapIndented(CliHelp::tr("'%1' shows a command's options; %2 the version.")
                         .arg(QStringLiteral("tangelo-cli COMMAND --help"), QStringLiteral("--version")),
                     0, 100) +
        u'\n' +
        WrapIndented(CliHelp::tr("Automatic backups: every write first saves the radio's image in the data "
                                 "folder (%1); 'restore' takes such a file.")
                         .arg(QStringLiteral("~/.local/share/TANGELO_Tune/backups")),
                     0, 100) +
        QStringLiteral("\n\n");
    return help + ExitCodesHelp();
}

QString CommandHelp(const CommandSpec& spec)
{
    QString help = CliHelp::tr("Usage: %1").arg(QStringLiteral("tangelo-cli ") + Utf8(spec.usage)) +
                   QStringLiteral("\n\n") + WrapIndented(Translated(spec.description), 0, 100) +
                   QStringLiteral("\n\n") + CliHelp::tr("Options:") + u'\n';
    const auto line = [](const QString& name, const QString& text) {
        return QStringLiteral("  %1 %2\n").arg(name, -22).arg(WrapIndented(text, 25, 100));
    };
    for (const OptionSpec& option : Options) {
        if ((option.commands & Bit(spec.command)) == 0)
            continue;
        QString name = QStringLiteral("--") + Utf8(option.name);
        if (option.value != nullptr)
            name += u' ' + Utf8(option.value);
        QString text = Translated(option.help);
        if (qstrcmp(option.name, "code-page") == 0)
            text = text.arg(KnownCodePages());
        help += line(name, text);
    }
    help += line(QStringLiteral("--help"), CliHelp::tr("Show this help.")) + u'\n';
    return help + ExitCodesHelp();
}

std::optional<int16_t> ParseSwitch(const QString& text)
{
    const QString value = text.toLower();
    if (value == u"on" || value == u"1")
        return int16_t(1);
    if (value == u"off" || value == u"0")
        return int16_t(0);
    return std::nullopt;
}

std::optional<int16_t> ParseBand(const QString& text)
{
    bool number = false;
    const int index = text.toInt(&number);
    if (number)
        return index >= 0 && index < BandCount ? std::optional<int16_t>(int16_t(index)) : std::nullopt;
    for (int16_t band = 0; band < BandCount; ++band) {
        const std::string_view name = BandTable[size_t(band)];
        if (text.trimmed().compare(QLatin1String(name.data(), qsizetype(name.size())), Qt::CaseInsensitive) ==
            0)
            return band;
    }
    return std::nullopt;
}

// A character as an error names it: "王" (U+738B); only its code where it would not show (a control
// or formatting character).
QString ShownCharacter(const QString& character)
{
    const char32_t code = character.toUcs4().value(0);
    const QString number = QStringLiteral("U+%1").arg(uint(code), 4, 16, QChar(u'0')).toUpper();
    return QChar::isPrint(code)
               ? CliUsage::tr("\"%1\" (%2)", "a character and its code").arg(character, number)
               : number;
}

// The text as a write would store it, or why it cannot be: a character the code page cannot hold
// there (one it lacks, or one whose bytes end a text), or too wide for the field.
QString CheckFieldText(const TextOption& option, const QString& text, const AnsiCodePage& page)
{
    // A line break, a tab or an escape sequence would go into the radio as it is, and come out of it
    // into every terminal and file that shows the field.
    if (const std::optional<ControlCharacterAt> control = FindControlCharacter(text))
        return CliUsage::tr("--%1: \"%2\" has a control character (%3) at character %4; the %5 field takes "
                            "none")
            .arg(Utf8(option.option), EscapeControlCharacters(text), ControlCharacterName(control->Character))
            .arg(control->Position)
            .arg(CliUsage::tr(option.label));

    if (const std::optional<QString> character = page.FirstUnstorable(text))
        return CliUsage::tr("--%1: the character %2 cannot be stored in the %3 field in the radio's code "
                            "page %4")
            .arg(Utf8(option.option), ShownCharacter(*character), CliUsage::tr(option.label),
                 QString::fromUtf8(page.Name()));
    const QByteArray bytes = page.ToAnsi(text);
    if (bytes.size() > option.width)
        return CliUsage::tr("--%1: \"%2\" takes %3 bytes in the radio's code page %4; the %5 field holds %n "
                            "bytes",
                            nullptr, option.width)
            .arg(Utf8(option.option), text)
            .arg(bytes.size())
            .arg(QString::fromUtf8(page.Name()), CliUsage::tr(option.label));
    return {};
}

// The --code-page given, or why it is none the program can use.
std::optional<AnsiCodePage> ParseCodePage(const QString& text, QString* error)
{
    bool number = false;
    const int value = text.trimmed().toInt(&number);
    const QByteArray name = number ? KnownCodePageName(value) : QByteArray();
    if (name.isEmpty()) {
        *error = CliUsage::tr("--code-page: %1 is not a code page this program knows; give one of %2")
                     .arg(text, KnownCodePages());
        return std::nullopt;
    }
    if (!IsUsableCodePage(name)) {
        *error = CliUsage::tr("--code-page: this system cannot convert code page %1").arg(value);
        return std::nullopt;
    }
    return AnsiCodePage(name);
}

QString WithoutTrailingSpaces(QString text)
{
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}

// "TANGELOUV, TANGELOSU and TANGELOSV", worded in the program's language.
QString TypeList()
{
    QStringList names;
    for (std::string_view type : RadioTypeNames)
        names << QString::fromUtf8(type.data(), qsizetype(type.size()));
    return LanguageLocale(SystemLanguageIndex()).createSeparatedList(names);
}

// The message may quote what was typed, which a script can fill with anything: it is shown escaped.
CommandLine UsageError(const QString& command, const QString& message)
{
    const QString help = command.isEmpty() ? QStringLiteral("tangelo-cli --help")
                                           : QStringLiteral("tangelo-cli %1 --help").arg(command);
    return {std::nullopt,
            {},
            QStringLiteral("tangelo-cli: %1\n").arg(EscapeControlCharacters(message)) +
                CliUsage::tr("See '%1'.").arg(help)};
}

} // namespace

QString TextFieldOption(TextField field)
{
    return Utf8(TextOptionOf(field).option);
}

QString CanonicalTypeName(const QString& name)
{
    for (std::string_view type : RadioTypeNames) {
        const QString typeName = QString::fromUtf8(type.data(), qsizetype(type.size()));
        if (name.compare(typeName, Qt::CaseInsensitive) == 0)
            return typeName;
    }
    return {};
}

CommandLine ParseCommandLine(const QStringList& arguments, const AnsiCodePage& page)
{
    const QString first = arguments.value(1);
    if (arguments.size() < 2 || first == u"--help" || first == u"-h" || first == u"help")
        return {std::nullopt, TopHelp(), {}};
    if (first == u"--version")
        return {std::nullopt, QStringLiteral("tangelo-cli %1\n").arg(Utf8(ProgramVersion)), {}};
    const CommandSpec* spec = nullptr;
    for (const CommandSpec& candidate : Commands)
        if (first == Utf8(candidate.name))
            spec = &candidate;
    if (spec == nullptr)
        return UsageError({}, CliUsage::tr("no command '%1'").arg(first));
    const QString name = Utf8(spec->name);

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const OptionSpec& option : Options)
        if ((option.commands & Bit(spec->command)) != 0)
            parser.addOption(option.value ? QCommandLineOption(Utf8(option.name), {}, Utf8(option.value))
                                          : QCommandLineOption(Utf8(option.name)));
    parser.addOption(QCommandLineOption(QStringList{QStringLiteral("help"), QStringLiteral("h")}));
    QStringList rest = arguments.mid(2);
    rest.prepend(arguments.first());
    if (!parser.parse(rest))
        return UsageError(name, parser.errorText());
    if (parser.isSet(QStringLiteral("help")))
        return {std::nullopt, CommandHelp(*spec), {}};

    CliOptions options;
    options.command = spec->command;
    const auto set = [&parser](const char* option) { return parser.isSet(Utf8(option)); };
    const auto value = [&parser](const char* option) { return parser.value(Utf8(option)); };
    for (const OptionSpec& option : Options)
        if (option.value != nullptr && (option.commands & Bit(spec->command)) != 0 &&
            parser.values(Utf8(option.name)).size() > 1)
            return UsageError(name, CliUsage::tr("--%1 is given more than once").arg(Utf8(option.name)));

    if ((Bit(spec->command) & TextPages) != 0 && set("code-page")) {
        QString error;
        options.codePage = ParseCodePage(value("code-page"), &error);
        if (!options.codePage)
            return UsageError(name, error);
    }
    const AnsiCodePage& textPage = options.codePage.value_or(page);

    const QStringList positional = parser.positionalArguments();
    if (spec->command == Command::Backups) {
        if (positional.size() > 1)
            return UsageError(name, CliUsage::tr("unexpected argument '%1'").arg(positional.at(1)));
        options.serial = positional.value(0);
        return {options, {}, {}};
    }
    const bool takesFile = spec->command == Command::Backup || spec->command == Command::Restore;
    if (takesFile && positional.size() != 1)
        return UsageError(name, CliUsage::tr("'%1' takes one FILE").arg(name));
    if (!takesFile && !positional.isEmpty())
        return UsageError(name, CliUsage::tr("unexpected argument '%1'").arg(positional.first()));
    if (takesFile)
        options.file = positional.first();
    if (spec->command == Command::Ports) {
        options.format = set("json") ? RecordFormat::Json : RecordFormat::Text;
        return {options, {}, {}};
    }

    options.port = value("port");
    options.trace = set("trace");
    if (spec->command == Command::Check) {
        options.format = set("json") ? RecordFormat::Json : RecordFormat::Text;
        return {options, {}, {}};
    }
    options.log = value("log");
    if ((Bit(spec->command) & Repeating) != 0) {
        options.repeat = set("repeat");
        options.noPrompt = set("no-prompt");
        if (options.noPrompt && !options.repeat)
            return UsageError(name, CliUsage::tr("%1 goes with %2")
                                        .arg(QStringLiteral("--no-prompt"), QStringLiteral("--repeat")));
    }
    if ((Bit(spec->command) & Writing) != 0) {
        options.yes = set("yes");
        options.noBackup = set("no-backup");
    }

    switch (spec->command) {
    case Command::Read:
        if (set("json") && set("csv"))
            return UsageError(name, CliUsage::tr("%1 and %2 exclude each other")
                                        .arg(QStringLiteral("--json"), QStringLiteral("--csv")));
        options.format = set("json")  ? RecordFormat::Json
                         : set("csv") ? RecordFormat::Csv
                                      : RecordFormat::Text;
        options.header = set("header");
        if (options.header && options.format != RecordFormat::Csv)
            return UsageError(
                name,
                CliUsage::tr("%1 goes with %2").arg(QStringLiteral("--header"), QStringLiteral("--csv")));
        options.save = value("save");
        break;
    case Command::Write:
        if (set("type")) {
            options.type = CanonicalTypeName(value("type"));
            if (options.type.isEmpty())
                return UsageError(name, CliUsage::tr("--type: no radio type '%1'; the types are %2")
                                            .arg(value("type"), TypeList()));
        }
        for (const TextOption& option : TextOptions) {
            if (!set(option.option))
                continue;
            const QString text = WithoutTrailingSpaces(value(option.option));
            if (const QString error = CheckFieldText(option, text, textPage); !error.isEmpty())
                return UsageError(name, error);
            options.texts.append({option.field, text});
        }
        if (set("band-setting")) {
            options.bandSetting = ParseSwitch(value("band-setting"));
            if (!options.bandSetting)
                return UsageError(name, CliUsage::tr("--band-setting takes on or off"));
        }
        if (set("band")) {
            options.band = ParseBand(value("band"));
            if (!options.band)
                return UsageError(name, CliUsage::tr("--band: no band '%1'; give 0 to 18 or a band's name as "
                                                     "'read' shows it")
                                            .arg(value("band")));
        }
        if (options.texts.isEmpty() && !options.bandSetting && !options.band)
            return UsageError(name, CliUsage::tr("nothing to write: give at least one field"));
        break;
    case Command::Restore:
        options.force = set("force");
        options.dryRun = set("dry-run");
        break;
    case Command::Ports:
    case Command::Backup:
    case Command::Check:
    case Command::Backups:
        break;
    }
    return {options, {}, {}};
}
