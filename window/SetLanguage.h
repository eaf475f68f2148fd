// The caption language, chosen once at start-up from the system locale by the rule in
// settings/SystemLanguage.h.
#pragma once

#include "settings/SystemLanguage.h"
