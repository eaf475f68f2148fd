// The commands that talk to radios (read, write, backup, restore), once or radio after radio.
#pragma once

#include "cli/CliContext.h"
#include "cli/CliOptions.h"

int RunRadioCommand(const CliOptions& options, CliContext& context);
