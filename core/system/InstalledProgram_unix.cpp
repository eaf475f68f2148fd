#include "system/InstalledProgram.h"

#include "ProgramInfo.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

bool IsInstalledProgramDirectory(const QString& programDirectory)
{
    const QString entry = QStringLiteral("../share/applications/%1.desktop").arg(QLatin1String(ProgramAppId));
    return QFileInfo::exists(QDir(programDirectory).filePath(entry));
}

QString UserSettingsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}
