#include "window/CommandLineSystem.h"

#include <QCoreApplication>

void UseStartingConsole() {}

QString SettingsHelpText()
{
    return CommandLineText::tr(
        "\nThe chosen COM port is kept in mysetup.ini: beside the program when the program may write\n"
        "there, else in ~/.config/TANGELO_Tune/ (or $XDG_CONFIG_HOME/TANGELO_Tune/). A symbolic link\n"
        "com<N> in a folder dosdevices/ beside that file lists the device it points to as COM<N>.\n"
        "To trace the serial link on standard error, set QT_LOGGING_RULES=tangelo.link.debug=true.\n");
}
