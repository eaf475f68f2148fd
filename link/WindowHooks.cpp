#include "link/WindowHooks.h"

WindowHooksType WindowHooks;
