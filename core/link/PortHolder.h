// Who holds a serial device that would not open: the programs that the system lets us see holding
// it, and whether ModemManager runs, which opens new serial devices to look for modems. Linux only:
// Windows does not tell one program which other one holds a port, and finds no one.
#pragma once

#include <QList>
#include <QString>

struct HoldingProcess
{
    qint64 Pid = 0;
    QString Program; // the program's file name, or the name the system gives the process
};

struct PortHolders
{
    QList<HoldingProcess> Processes; // each process once, by its number
    bool ModemManagerRunning = false;
};

// The holders of the device: the live process that a lock file names in the folder where QSerialPort
// and the uucp-style tools keep their locks; without one, the processes whose open files include the
// device (all of them for root, those of the same user otherwise). Never this process, nor the one
// that holds the other end of a pseudo-terminal (a virtual radio).
PortHolders FindPortHolders(const QString& devicePath);

// The lock file QSerialPort makes for the device ("/var/lock/LCK..ttyUSB0"); empty on Windows.
QString SerialLockFilePath(const QString& devicePath);
