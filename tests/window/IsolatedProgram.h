// Keeps a window test away from the machine: its settings file and aliases in a temporary program
// directory, and a serial-device tree with no devices.
#pragma once

#include "settings/ComPorts.h"
#include "settings/Settings.h"

#include <QDir>
#include <QTemporaryDir>

struct IsolatedProgram
{
    QTemporaryDir root;

    IsolatedProgram()
    {
        QDir(root.path()).mkpath(QStringLiteral("sys/class/tty"));
        SetProgramDirectory(root.path());
        SetDiscoveryRoots(root.filePath(QStringLiteral("sys")), root.filePath(QStringLiteral("dosdevices")));
    }
    ~IsolatedProgram()
    {
        SetDiscoveryRoots({}, {});
        SetProgramDirectory({});
    }
    IsolatedProgram(const IsolatedProgram&) = delete;
    IsolatedProgram& operator=(const IsolatedProgram&) = delete;
};
