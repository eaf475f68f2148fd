// The operating-system check that decides how the COM-port list is built.
#pragma once

#include <optional>

// Whether the COM-port list is the fixed list COM1 to COM256: on Windows NT 6.0 alone, from
// GetVersionExA; never on Linux. Nothing when the system's version cannot be had (the window then says
// so and uses the serial-device map).
std::optional<bool> DetectSystemType();
