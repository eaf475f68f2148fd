#include "window/CommandLineSystem.h"

#include <QCoreApplication>

#include <windows.h>

#include <cstdio>

namespace {

bool Redirected(DWORD which)
{
    const HANDLE handle = GetStdHandle(which);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}
} // namespace

void UseStartingConsole()
{
    const bool out = Redirected(STD_OUTPUT_HANDLE);
    const bool err = Redirected(STD_ERROR_HANDLE);
    if ((out && err) || !AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    if (!out)
        std::freopen("CONOUT$", "w", stdout);
    if (!err)
        std::freopen("CONOUT$", "w", stderr);
}

QString SettingsHelpText()
{
    return CommandLineText::tr(
        "\nThe chosen COM port is kept in mysetup.ini: beside the program for a portable copy, else\n"
        "(installed) in %APPDATA%\\TANGELO_Tune\\. The COM ports listed are those Windows lists in\n"
        "HKEY_LOCAL_MACHINE\\HARDWARE\\DEVICEMAP\\SERIALCOMM.\n"
        "To trace the serial link, use tangelo-cli --trace.\n");
}
