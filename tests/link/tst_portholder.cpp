// Who holds a serial device, with real lock files, FIFOs and processes: the live process that a lock
// file names, else the processes that have the device open; never this process, never a number that
// is no process's, never the far end of a pseudo-terminal, and never a wait on what lies in the lock
// folder.
#include "link/PortHolder.h"
#include "PtyPair.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QScopeGuard>
#include <QSysInfo>
#include <QTest>

#include <chrono>
#include <future>
#include <memory>
#include <thread>
#include <vector>

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A lock file that names no live process was left by a program gone (another run on this machine
// ended without removing it) and holds nothing: it goes, as a program opening the port would take it
// over. A device's number comes back to the next terminal opened, this test's among them.
void RemoveStaleLock(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    bool number = false;
    const qint64 pid = file.readLine(32).trimmed().toLongLong(&number);
    file.close();
    if (number && pid > 0 && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH)
        QFile::remove(path);
}

// What the test puts at the device's lock path.
enum class Lock {
    None,
    Holder,    // QLockFile's form naming a live program: number, program, host
    Uucp,      // the uucp tools' form: the number padded with blanks
    Self,      // this process's number
    Wrapping,  // a number that, cut to a process number, is process 1
    Negative,  // "-1", which kill() takes for every process
    Oversized, // a live program's number followed by more than a lock file ever holds
    Fifo,      // a FIFO: opening it to read waits for a writer
    Folder,    // a folder
};

} // namespace

Q_DECLARE_METATYPE(Lock)

class TestPortHolder : public QObject
{
    Q_OBJECT

    std::vector<std::unique_ptr<QProcess>> started;

    // A started process that has printed its first line, which is returned.
    QByteArray Start(const QStringList& command, qint64* pid)
    {
        started.push_back(std::make_unique<QProcess>());
        QProcess& process = *started.back();
        process.start(command.first(), command.mid(1));
        if (!process.waitForStarted() || !process.waitForReadyRead(10000))
            return {};
        *pid = process.processId();
        return process.readLine().trimmed();
    }

    // A process that keeps `device` open, as a terminal program would.
    qint64 StartOpener(const QString& device)
    {
        qint64 pid = 0;
        const QByteArray line =
            Start({QStringLiteral("/usr/bin/python3"), QStringLiteral("-c"),
                   QStringLiteral("import os, sys, time\n"
                                  "fd = os.open(sys.argv[1], os.O_RDWR | os.O_NOCTTY | os.O_NONBLOCK)\n"
                                  "print('ready', flush=True)\n"
                                  "time.sleep(60)\n"),
                   device},
                  &pid);
        return line == "ready" ? pid : 0;
    }

private slots:
    void cleanup()
    {
        for (const auto& process : started) {
            process->kill();
            process->waitForFinished();
        }
        started.clear();
    }

    void holders_data()
    {
        QTest::addColumn<Lock>("lock");
        QTest::addColumn<bool>("farEnd");       // the pty's master held by another process, not this one
        QTest::addColumn<bool>("opener");       // another process has the device open
        QTest::addColumn<QStringList>("named"); // "sleep", "opener"
        QTest::newRow("nothing") << Lock::None << false << false << QStringList{};
        QTest::newRow("lock file of a live program")
            << Lock::Holder << false << false << QStringList{"sleep"};
        QTest::newRow("lock file in the uucp form") << Lock::Uucp << false << false << QStringList{"sleep"};
        QTest::newRow("device open in another program")
            << Lock::None << false << true << QStringList{"opener"};
        QTest::newRow("lock file and another program with the device open")
            << Lock::Holder << false << true << QStringList{"sleep"};
        QTest::newRow("lock file naming this process") << Lock::Self << false << false << QStringList{};
        QTest::newRow("lock file naming this process, another program with the device open")
            << Lock::Self << false << true << QStringList{"opener"};
        QTest::newRow("number beyond a process number's range")
            << Lock::Wrapping << false << false << QStringList{};
        QTest::newRow("negative number") << Lock::Negative << false << false << QStringList{};
        QTest::newRow("lock file larger than a lock file")
            << Lock::Oversized << false << false << QStringList{};
        QTest::newRow("FIFO as lock file") << Lock::Fifo << false << false << QStringList{};
        QTest::newRow("FIFO as lock file, another program with the device open")
            << Lock::Fifo << false << true << QStringList{"opener"};
        QTest::newRow("folder as lock file") << Lock::Folder << false << false << QStringList{};
        QTest::newRow("far end of the terminal alone") << Lock::None << true << false << QStringList{};
        QTest::newRow("far end of the terminal and a lock file")
            << Lock::Holder << true << false << QStringList{"sleep"};
        QTest::newRow("far end of the terminal and a program with the device open")
            << Lock::None << true << true << QStringList{"opener"};
    }
    void holders()
    {
        QFETCH(Lock, lock);
        QFETCH(bool, farEnd);
        QFETCH(bool, opener);
        QFETCH(QStringList, named);

        // The device: this process's pseudo-terminal, or one whose both sides another process holds,
        // as the virtual radio does.
        PtyPair pty;
        QString device = pty.SlavePath();
        if (farEnd) {
            qint64 farEndPid = 0;
            device = QString::fromLocal8Bit(Start({QStringLiteral("/usr/bin/python3"), QStringLiteral("-c"),
                                                   QStringLiteral("import os, time\n"
                                                                  "master, slave = os.openpty()\n"
                                                                  "print(os.ttyname(slave), flush=True)\n"
                                                                  "time.sleep(60)\n")},
                                                  &farEndPid));
            QVERIFY2(device.startsWith(u"/dev/pts/"), qPrintable(device));
        }
        QMap<QString, qint64> pids;
        if (opener) {
            pids[QStringLiteral("opener")] = StartOpener(device);
            QVERIFY(pids[QStringLiteral("opener")] > 0);
        }

        const QString lockPath = SerialLockFilePath(device);
        QVERIFY(!lockPath.isEmpty());
        RemoveStaleLock(lockPath);
        QVERIFY2(!QFileInfo::exists(lockPath), qPrintable(lockPath));
        const auto removeLock = qScopeGuard([&] {
            QFile::remove(lockPath);
            QDir().rmdir(lockPath);
        });
        const auto write = [&](const QByteArray& content) {
            QFile file(lockPath);
            return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
        };
        if (lock == Lock::Holder || lock == Lock::Uucp || lock == Lock::Oversized) {
            started.push_back(std::make_unique<QProcess>());
            started.back()->start(QStringLiteral("sleep"), {QStringLiteral("60")});
            QVERIFY(started.back()->waitForStarted()); // the program runs once started
            const qint64 pid = started.back()->processId();
            pids[QStringLiteral("sleep")] = pid;
            const QByteArray number = QByteArray::number(pid);
            if (lock == Lock::Holder)
                QVERIFY(write(number + "\nsleep\n" + QSysInfo::machineHostName().toUtf8() + '\n'));
            else if (lock == Lock::Uucp)
                QVERIFY(write(number.rightJustified(10, ' ') + '\n'));
            else
                QVERIFY(write(number + '\n' + QByteArray(8192, 'x') + '\n'));
        }
        if (lock == Lock::Self)
            QVERIFY(write(QByteArray::number(::getpid()) + "\ntst_portholder\n"));
        if (lock == Lock::Wrapping)
            QVERIFY(write("4294967297\n"));
        if (lock == Lock::Negative)
            QVERIFY(write("-1\n"));
        if (lock == Lock::Fifo)
            QVERIFY(::mkfifo(QFile::encodeName(lockPath).constData(), 0600) == 0);
        if (lock == Lock::Folder)
            QVERIFY(QDir().mkdir(lockPath));

        // Asked on a thread of its own: a reading that waits on the FIFO is let go by a writer, and
        // fails the test instead of hanging it.
        auto asked = std::async(std::launch::async, [&] { return FindPortHolders(device); });
        if (asked.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            const int writer = ::open(QFile::encodeName(lockPath).constData(), O_WRONLY);
            if (writer >= 0)
                ::close(writer);
            asked.wait();
            QFAIL("the holders were sought for 10 s");
        }
        const PortHolders holders = asked.get();

        QList<qint64> found;
        QStringList programs;
        for (const HoldingProcess& process : holders.Processes) {
            found << process.Pid;
            programs << process.Program;
        }
        QList<qint64> wanted;
        for (const QString& name : named)
            wanted << pids.value(name);
        QVERIFY2(found == wanted, qPrintable(programs.join(u' ')));
        if (named == QStringList{QStringLiteral("sleep")})
            QCOMPARE(programs, QStringList{QStringLiteral("sleep")});
    }
};

QTEST_GUILESS_MAIN(TestPortHolder)
#include "tst_portholder.moc"
