// Opening and closing the serial port with the link settings.
#pragma once

inline constexpr const char* LinkSettings = "115200,N,8,1";

bool OpenPort(); // false after its own message box
void ClosePort();
