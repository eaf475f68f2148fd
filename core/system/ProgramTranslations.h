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

// While it lives, every text is its English source, whatever translations are installed: for what
// programs read (a JSON report), which does not change with the language. Qt asks the translator
// installed last first.
class SourceTextsOnly : public QTranslator
{
public:
    SourceTextsOnly();
    SourceTextsOnly(const SourceTextsOnly&) = delete;
    SourceTextsOnly& operator=(const SourceTextsOnly&) = delete;
    ~SourceTextsOnly() override;

    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* sourceText, const char* disambiguation = nullptr,
                      int n = -1) const override;
};
