// Runs one session of the core's RadioSession at a time and waits for its end, so that the command
// line can go step by step: read this radio, then write it.
#pragma once

#include "cli/CliContext.h"
#include "cli/WaitNotice.h"
#include "link/RadioSession.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

// The port a run talks to: a COM number, or a device given by its path (number 0).
struct PortChoice
{
    int16_t Number = 0;
    QString Device;
    PortSource Source = PortSource::Given; // Saved: no port was given, the window's is taken
    QString Name() const;                  // "COM900", or the device path
};

struct ReadResult
{
    SessionOutcome Outcome;
    RadioInfoRecord Record;
    InfoImageType Image{};
    bool Complete() const { return Outcome.Result == SessionResult::Complete; }
};

// What a check of the link found: how it ended, and, when the radio answered, its identity.
struct CheckResult
{
    SessionOutcome Outcome;
    QString Identity; // the type as the protocol names it; empty when no identity came
    int16_t Band = 0;
    bool EndAnswered = false;
};

class RadioRunner
{
public:
    RadioRunner(const CliContext& context, PortChoice port);

    ReadResult Read();
    // The program command, the identity request and the end command; no block.
    CheckResult Check();
    // A write with the radio type to check the radio against; the question decides what goes out,
    // the backup writer (if any) keeps the image first.
    SessionOutcome Write(const QString& radioType, RadioSession::WriteFieldsQuestion question,
                         RadioSession::BackupWriter backup);

private:
    SessionOutcome Run(const std::function<void()>& start);

    PortChoice port;
    RadioSession session;
    std::optional<WaitNotice> notice; // on a terminal only
};
