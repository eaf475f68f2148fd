// Keeps a test away from the machine: a temporary program directory for mysetup.ini and the
// dosdevices/ aliases, a fake sysfs tree that lists only the serial devices the test adds, a fake /proc
// and udev rule folder that hold only the processes and rules the test adds, and a user configuration
// folder and data folder (where the backups go) of its own.
#pragma once

#include "ports/ComPorts.h"
#include "settings/BackupFolder.h"
#include "settings/Settings.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class IsolatedProgram
{
public:
    IsolatedProgram()
    {
        QDir(root.path()).mkpath(QStringLiteral("sys/class/tty"));
        QDir(root.path()).mkpath(QStringLiteral("proc"));
        QDir(root.path()).mkpath(QStringLiteral("rules.d"));
        QDir(root.path()).mkpath(QStringLiteral("dosdevices"));
        QDir(root.path()).mkpath(QStringLiteral("config"));
        QDir(root.path()).mkpath(QStringLiteral("data"));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(Path(QStringLiteral("config"))));
        qputenv("XDG_DATA_HOME", QFile::encodeName(Path(QStringLiteral("data"))));
    }
    ~IsolatedProgram()
    {
        qunsetenv("XDG_CONFIG_HOME");
        qunsetenv("XDG_DATA_HOME");
    }
    IsolatedProgram(const IsolatedProgram&) = delete;
    IsolatedProgram& operator=(const IsolatedProgram&) = delete;

    // The program's settings here: the program directory, the fake sysfs, the aliases where the
    // program keeps them (beside its settings file), the fake /proc and udev rule folder.
    ProgramSettings Settings() const
    {
        return ProgramSettings(root.path(), SysRoot(), {}, ProcRoot(), {RulesDir()});
    }

    QString Path(const QString& relative) const { return root.filePath(relative); }
    QString Directory() const { return root.path(); }
    QString SettingsFile() const { return Path(QStringLiteral("mysetup.ini")); }
    QString SysRoot() const { return Path(QStringLiteral("sys")); }
    QString ProcRoot() const { return Path(QStringLiteral("proc")); }
    QString RulesDir() const { return Path(QStringLiteral("rules.d")); }
    QString AliasDir() const { return Path(QStringLiteral("dosdevices")); }
    QString AliasPath(int number) const { return AliasDir() + QStringLiteral("/com%1").arg(number); }
    // Where the program keeps its automatic backups under this data folder.
    QString BackupDir() const { return BackupFolder().Path(); }

    // A tty in the fake sysfs, written as "name" with options after commas: "nodevice" (no device
    // link, as for virtual terminals), "type=N" (the serial-core type attribute), "dev=M:m" (device
    // number), "fifo=A" (a FIFO where the attribute A should be).
    void AddTty(const QString& row) const
    {
        const QStringList parts = row.split(u',');
        const QString name = parts.first();
        const QString ttyDir = SysRoot() + QStringLiteral("/class/tty/") + name;
        QVERIFY(QDir().mkpath(ttyDir));
        bool withDevice = true;
        for (const QString& option : parts.mid(1)) {
            if (option == u"nodevice")
                withDevice = false;
            else if (option.startsWith(u"type="))
                WriteTestFile(ttyDir + QStringLiteral("/type"), option.mid(5).toUtf8() + '\n');
            else if (option.startsWith(u"dev="))
                WriteTestFile(ttyDir + QStringLiteral("/dev"), option.mid(4).toUtf8() + '\n');
            else if (option.startsWith(u"fifo="))
                MakeFifo(ttyDir + u'/' + option.mid(5));
        }
        if (withDevice) {
            const QString target = SysRoot() + QStringLiteral("/devices/platform/serial/") + name;
            QVERIFY(QDir().mkpath(target));
            QVERIFY(QFile::link(target, ttyDir + QStringLiteral("/device")));
        }
    }

private:
    QTemporaryDir root;
};
