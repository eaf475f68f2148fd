#include "system/ProgramTranslations.h"

#include "system/SystemLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>

ProgramTranslations::ProgramTranslations(int16_t languageIndex)
{
    if (languageIndex != ChineseLanguage)
        return;
    // Qt's own texts come from the translations that Qt installs (beside the programs on Windows):
    // qtbase's buttons and system errors, and the serial port's reasons for not opening.
    const QString qtTranslations = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (qt.load(QStringLiteral("qtbase_zh_CN"), qtTranslations))
        QCoreApplication::installTranslator(&qt);
    if (serialPort.load(QStringLiteral("qtserialport_zh_CN"), qtTranslations))
        QCoreApplication::installTranslator(&serialPort);
    if (program.load(QStringLiteral(":/i18n/tangelo_zh_CN.qm")))
        QCoreApplication::installTranslator(&program);
}

ProgramTranslations::~ProgramTranslations()
{
    // A translator that was never installed is not removed.
    if (!program.isEmpty())
        QCoreApplication::removeTranslator(&program);
    if (!qt.isEmpty())
        QCoreApplication::removeTranslator(&qt);
    if (!serialPort.isEmpty())
        QCoreApplication::removeTranslator(&serialPort);
}

SourceTextsOnly::SourceTextsOnly()
{
    QCoreApplication::installTranslator(this);
}

SourceTextsOnly::~SourceTextsOnly()
{
    QCoreApplication::removeTranslator(this);
}

QString SourceTextsOnly::translate(const char*, const char* sourceText, const char*, int) const
{
    // Qt puts the count into %n itself.
    return QString::fromUtf8(sourceText);
}
