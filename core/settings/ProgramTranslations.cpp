#include "settings/ProgramTranslations.h"

#include "settings/SystemLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>

ProgramTranslations::ProgramTranslations(int16_t languageIndex)
{
    if (languageIndex != ChineseLanguage)
        return;
    // Qt's own texts come from the translations that Qt installs (beside the programs on Windows).
    if (qt.load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qt);
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
}
