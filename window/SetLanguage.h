// The caption language, chosen once at start-up from the system locale by the rule in
// system/SystemLanguage.h.
#pragma once

#include "system/SystemLanguage.h"
