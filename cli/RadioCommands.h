// The commands that talk to radios (read, write, backup, restore), once or radio after radio.
#pragma once

#include "cli/CliContext.h"
#include "cli/CliOptions.h"
#include "cli/RadioRunner.h"

#include <optional>

int RunRadioCommand(const CliOptions& options, CliContext& context);

// The port that --port names, or the one chosen in the window when it is empty; nothing, with the
// reason in `error`, when there is none.
std::optional<PortChoice> ResolvePort(const QString& given, const ProgramSettings& settings, QString& error);

// check: the link to the radio step by step, on one port or on each port a cable may be on.
int RunCheck(const CliOptions& options, CliContext& context);
// backups: the automatic backups, newest first.
int RunBackupList(const CliOptions& options, CliContext& context);
