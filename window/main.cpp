// TANGELO_Tune: reads and writes the information block of a TANGELO radio over a serial port.
#include "ProgramInfo.h"
#include "system/ProgramTranslations.h"
#include "system/SystemLanguage.h"
#include "window/CommandLine.h"
#include "window/FrmMain.h"
#include "window/KeptIconStyle.h"
#include "window/WindowFont.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // Before the window's application object: --help must work without a display and write nothing.
    // A core application object carries its texts in the system's language.
    if (argc > 1) {
        QStringList arguments;
        for (int i = 0; i < argc; ++i)
            arguments << QString::fromLocal8Bit(argv[i]);
        const QCoreApplication commandLine(argc, argv);
        const ProgramTranslations translations(SystemLanguageIndex());
        if (const auto exitCode = HandleCommandLine(arguments))
            return *exitCode;
    }

    QApplication app(argc, argv);
    // The platform's style (or the one QT_STYLE_OVERRIDE names), its standard icons kept once made.
    auto* style = new KeptIconStyle(QApplication::style()->name());
    QApplication::setStyle(style);
    QGuiApplication::setDesktopFileName(QString::fromLatin1(ProgramAppId));
    InstallFontSubstitutions();
    QApplication::setFont(WindowFont()); // message boxes too

    FrmMain window; // runs Form_Load before it is shown
    style->PrepareMessageBoxIcons(&window);
    window.show();
    return QApplication::exec();
}
