// One radio command (read, write, backup, restore) from its start to its summary: the rounds, one
// per radio, and what each radio comes to.
#pragma once

#include "cli/CliContext.h"
#include "cli/CliOptions.h"
#include "cli/LogReason.h"
#include "cli/RadioRunner.h"
#include "cli/RunLog.h"
#include "data/RadioBackup.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <optional>

// What became of one radio.
struct RadioReport
{
    ExitCode Code = ExitCode::Done;
    QString Type;
    QString Serial;
    QStringList Changed;
    QString Message; // why it was not done, or a note
    LogReason Why = LogReason::None;
    QString Port; // the port as the failure found it ("COM5 (/dev/ttyUSB0)"); empty: as given
};

// The rounds (RadioRounds.cpp) and the radio's own step (RadioActions.cpp).
class RadioCommand
{
    Q_DECLARE_TR_FUNCTIONS(RadioCommand)

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
    RadioReport NamedReport(const ReadResult& read) const;
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

    int radios = 0; // the radios handled, each time one is
    // Each radio once, by its serial number, with how it ended last: the summary and the exit code.
    struct CountedRadio
    {
        QString Serial;
        ExitCode Code;
    };
    QList<CountedRadio> counted;
    // --no-prompt: the radio just handled may still be connected; it counts again only after a try
    // that no radio answered.
    bool justHandled = false;
    bool justDone = false; // the radio just handled was done
    QString lastSerial;
};
