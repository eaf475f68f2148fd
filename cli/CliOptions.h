// tangelo-cli's command line: the subcommands, their options and their help texts.
#pragma once

#include "data/AnsiCodePage.h"
#include "data/TextFieldSet.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

enum class Command { Ports, Read, Write, Backup, Restore, Check, Backups };
enum class RecordFormat { Text, Json, Csv };

// A text field that a write is to set.
struct TextEdit
{
    TextField Field;
    QString Text; // without trailing spaces, checked to fit the field in the radio's code page
};

struct CliOptions
{
    Command command = Command::Read;
    QString port;   // as given; empty: the port chosen in the window
    QString file;   // backup, restore: the backup file
    QString serial; // backups: the serial number to list the backups of; empty: every one
    RecordFormat format = RecordFormat::Text;
    bool header = false;
    QString save;
    QString log;
    bool repeat = false;
    bool noPrompt = false;
    bool trace = false;
    bool yes = false;
    bool force = false;
    bool dryRun = false;
    bool noBackup = false;
    std::optional<AnsiCodePage> codePage; // --code-page: the radio's texts in it, not the system's
    QString type;                         // write: the type as the protocol names it; empty: the radio's own
    QList<TextEdit> texts;
    std::optional<int16_t> bandSetting;
    std::optional<int16_t> band;
};

struct CommandLine
{
    std::optional<CliOptions> options; // a command to run
    QString text;                      // else help or version, for standard output
    QString error;                     // else a usage error, for standard error
};

// `arguments` as the process has them, the program's name first.
CommandLine ParseCommandLine(const QStringList& arguments, const AnsiCodePage& page);

// The field's option: "dealer-code".
QString TextFieldOption(TextField field);
// The radio type's name for a name given in any capitals, or empty.
QString CanonicalTypeName(const QString& name);
