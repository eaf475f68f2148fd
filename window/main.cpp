// TANGELO_Tune: reads and writes the information block of a TANGELO radio over a serial port.
#include "window/FrmMain.h"
#include "window/WindowFont.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    InstallFontSubstitutions();
    QApplication::setFont(WindowFont()); // message boxes too

    FrmMain window; // runs Form_Load before it is shown
    window.show();
    return QApplication::exec();
}
