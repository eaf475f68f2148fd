#include "system/InstalledProgram.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

bool IsInstalledProgramDirectory(const QString& programDirectory)
{
    // The setup program writes its uninstaller beside the programs; a portable copy has none.
    return QFileInfo(QDir(programDirectory).filePath(QStringLiteral("uninstall.exe"))).isFile();
}

QString UserSettingsFolder()
{
    // AppConfigLocation is the local (not roaming) folder on Windows.
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}
