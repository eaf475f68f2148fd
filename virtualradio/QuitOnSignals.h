// Turns SIGTERM and SIGINT into a clean quit of the event loop (a self-pipe read by the loop).
#pragma once

#include <functional>

// Calls onSignal from the event loop once either signal arrives. Call once, after the application.
bool QuitOnSignals(std::function<void()> onSignal);
