// The program's texts in its language: its own catalogue, built in, and Qt's (the buttons of a
// message box, the command-line parser's errors, the serial port's), installed for as long as the
// object lives.
#pragma once

#include <QTranslator>

#include <cstdint>

class ProgramTranslations
{
public:
    // English needs nothing: the texts in the code are English. Needs the application object.
    explicit ProgramTranslations(int16_t languageIndex);
    ProgramTranslations(const ProgramTranslations&) = delete;
    ProgramTranslations& operator=(const ProgramTranslations&) = delete;
    ~ProgramTranslations();

    bool ProgramLoaded() const { return !program.isEmpty(); }
    bool QtLoaded() const { return !qt.isEmpty(); }

private:
    QTranslator qt;
    QTranslator serialPort;
    QTranslator program;
};
