// The serial control over a real pseudo-terminal: what goes in and out, when the receive event
// fires, and what happens when the far end goes away or the device cannot be opened.
#include "link/Frames.h"
#include "link/OpenFailure.h"
#include "link/PermissionHint.h"
#include "link/PortHolder.h"
#include "link/SerialControl.h"
#include "link/SerialPlatform.h"
#include "link/SessionMessages.h"
#include "OtherLanguage.h"
#include "PtyPair.h"
#include "SideBySide.h"
#include "system/ProgramTranslations.h"
#include "system/SystemLanguage.h"
#include "Timing.h"
#include "TraceCapture.h"

#include <QDir>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <numeric>
#include <optional>
#include <vector>

#include <fcntl.h>
#include <grp.h>
#include <linux/serial.h>
#include <pwd.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// The driver's low-latency flag of a serial device, or nothing where the device has none.
std::optional<bool> LowLatencyFlag(const QString& path)
{
    const int fd = ::open(qPrintable(path), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    serial_struct serial{};
    const bool known = ::ioctl(fd, TIOCGSERIAL, &serial) == 0;
    ::close(fd);
    return known ? std::optional<bool>((serial.flags & ASYNC_LOW_LATENCY) != 0) : std::nullopt;
}

bool SetLowLatencyFlag(const QString& path, bool on)
{
    const int fd = ::open(qPrintable(path), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return false;
    serial_struct serial{};
    bool done = ::ioctl(fd, TIOCGSERIAL, &serial) == 0;
    serial.flags = on ? serial.flags | ASYNC_LOW_LATENCY : serial.flags & ~ASYNC_LOW_LATENCY;
    done = done && ::ioctl(fd, TIOCSSERIAL, &serial) == 0;
    ::close(fd);
    return done;
}

// Why opening the device failed, for a process of the user `uid` (a child that becomes that user)
// or, without one, for this process.
QString OpenFailureAs(std::optional<uid_t> uid, const QString& device)
{
    const auto tryOpen = [&] {
        SerialControl control;
        control.SetPortResolver([device](int16_t) { return device; });
        control.CommPort = 5;
        control.Settings = QStringLiteral("115200,N,8,1");
        return control.SetPortOpen(true) ? QStringLiteral("(opened)") : control.ErrorString();
    };
    if (!uid)
        return tryOpen();
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return QStringLiteral("(no pipe)");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        ::setgroups(0, nullptr);
        if (::setgid(gid_t(*uid)) != 0 || ::setuid(*uid) != 0)
            ::_exit(2);
        const QByteArray text = tryOpen().toUtf8();
        [[maybe_unused]] const ssize_t n = ::write(pipeEnds[1], text.constData(), size_t(text.size()));
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    QByteArray text;
    char buffer[1024];
    for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, n);
    ::close(pipeEnds[0]);
    ::waitpid(child, nullptr, 0);
    return QString::fromUtf8(text);
}

QByteArray AllByteValues()
{
    QByteArray bytes(256, '\0');
    std::iota(bytes.begin(), bytes.end(), char(0));
    return bytes;
}
} // namespace

class TestSerialControl : public QObject
{
    Q_OBJECT

    std::unique_ptr<PtyPair> pty;
    std::unique_ptr<SerialControl> control;

    // The serial control on the pseudo-terminal, with the link's settings.
    bool OpenControl()
    {
        control->SetPortResolver(
            [this](int16_t number) { return number == 3 ? pty->SlavePath() : QString(); });
        control->CommPort = 3;
        control->Settings = QStringLiteral("115200,N,8,1");
        control->InputMode = 1;
        control->SetRThreshold(1);
        return control->SetPortOpen(true);
    }

private slots:
    void init()
    {
        pty = std::make_unique<PtyPair>();
        QVERIFY(pty->IsOpen());
        control = std::make_unique<SerialControl>();
    }
    void cleanup()
    {
        control.reset();
        pty.reset();
    }

    void everyByteValueGoesOut()
    {
        QVERIFY(OpenControl());
        control->Output(AllByteValues());
        QCOMPARE(pty->Read(256).toHex(), AllByteValues().toHex());
    }

    // The receive event fires once the threshold is reached, then hands over every waiting byte.
    void receiveEvent_data()
    {
        QTest::addColumn<int>("threshold");
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("rest"); // sent once the first part has raised no event
        QTest::newRow("every byte value") << 256 << AllByteValues() << QByteArray();
        QTest::newRow("waits for the threshold")
            << 38 << AllByteValues().mid(40, 20) << AllByteValues().mid(60, 18);
        QTest::newRow("more than the threshold") << 38 << AllByteValues().first(39) << QByteArray();
    }
    void receiveEvent()
    {
        QFETCH(int, threshold);
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, rest);
        QVERIFY(OpenControl());
        control->SetRThreshold(int16_t(threshold));
        QSignalSpy received(control.get(), &SerialControl::OnComm);
        pty->Write(first);
        if (!rest.isEmpty()) {
            QTest::qWait(150);
            QCOMPARE(received.count(), 0);
            pty->Write(rest);
        }
        QTRY_COMPARE(received.count(), 1);
        QCOMPARE(control->CommEvent, SerialControl::comEvReceive);
        QCOMPARE(control->Input().toHex(), (first + rest).toHex());
        QCOMPARE(control->Input(), QByteArray()); // taking the bytes emptied the buffer
    }

    // Bytes left from before, in the driver at opening or waiting below the threshold, are dropped.
    void staleInputIsDropped_data()
    {
        QTest::addColumn<bool>("beforeOpening");
        QTest::newRow("left in the driver, emptied by opening") << true;
        QTest::newRow("waiting, dropped by ClearInput") << false;
    }
    void staleInputIsDropped()
    {
        QFETCH(bool, beforeOpening);
        if (beforeOpening) {
            pty->Write("left over from before");
            QTest::qWait(50);
        }
        QVERIFY(OpenControl());
        if (!beforeOpening) {
            control->SetRThreshold(100); // no event: the bytes only wait
            pty->Write("stale");
            QTest::qWait(100);
            control->ClearInput();
            control->SetRThreshold(1);
        }
        QSignalSpy received(control.get(), &SerialControl::OnComm);
        QTest::qWait(100);
        pty->Write(QByteArray(1, '\x06'));
        QTRY_VERIFY(received.count() >= 1);
        QCOMPARE(control->Input(), QByteArray(1, '\x06'));
    }

    // Bytes written just before closing still leave, even more than the driver takes at once: the port
    // reads as closed at once, sends nothing more, and closes for good once they have left, or after
    // a bound when the far end takes nothing.
    void bytesWrittenJustBeforeClosingLeave_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("farEndReads");
        QTest::newRow("an end command") << 3 << true;
        QTest::newRow("more than the driver takes at once") << 256 * 1024 << true;
        QTest::newRow("more than the driver takes, nobody reads") << 256 * 1024 << false;
    }
    void bytesWrittenJustBeforeClosingLeave()
    {
        QFETCH(int, size);
        QFETCH(bool, farEndReads);
        const TraceCapture trace;
        const LinkTrace linkTrace;
        control->SetTrace(&linkTrace);
        const auto untraced = qScopeGuard([this] { control->SetTrace(nullptr); });
        QVERIFY(OpenControl());
        QByteArray bytes(size, '\0');
        for (int i = 0; i < size; ++i)
            bytes[i] = char(i % 251);
        control->Output(bytes);
        control->SetPortOpen(false);
        QVERIFY(!control->PortOpen());
        control->Output("NOT SENT");
        control->ClearOutput(); // would drop what has not left yet
        if (farEndReads) {
            const QByteArray arrived = pty->Read(size, 10000);
            QCOMPARE(arrived.size(), size);
            QVERIFY(arrived == bytes);
            QCOMPARE(pty->Read(1, 200), QByteArray());
        }
        QTRY_VERIFY_WITH_TIMEOUT(trace.Contains(QStringLiteral("closed ") + pty->SlavePath()), 3000);
        QVERIFY(!control->PortOpen());
        // The port opens again.
        QVERIFY(OpenControl());
        pty->Read(size, 300); // what was left in the driver
        control->Output("AGAIN");
        QCOMPARE(pty->Read(5), QByteArray("AGAIN"));
    }

    // A driver without the low-latency mode (a pseudo-terminal refuses the call) opens the port as
    // ever: the same line settings, bytes both ways, no error, and nothing said about the mode.
    void lowLatencyRefused_data()
    {
        QTest::addColumn<bool>("asked");
        QTest::newRow("asked for") << true;
        QTest::newRow("not asked for") << false;
    }
    void lowLatencyRefused()
    {
        QFETCH(bool, asked);
        QVERIFY(!LowLatencyFlag(pty->SlavePath())); // the call is refused here
        control->LowLatency = asked;
        const LinkTrace trace;
        control->SetTrace(&trace);
        bool opened = false;
        QString said;
        {
            const TraceCapture capture;
            opened = OpenControl();
            said = capture.All();
        }
        control->SetTrace(nullptr);

        QVERIFY(opened);
        QVERIFY(control->ErrorString().isEmpty());
        QVERIFY2(!said.contains(QStringLiteral("latency")), qPrintable(said));
        control->Output("PROGRAM");
        QCOMPARE(pty->Read(7), QByteArray("PROGRAM"));
        QSignalSpy received(control.get(), &SerialControl::OnComm);
        pty->Write("\x06");
        QTRY_VERIFY(received.count() >= 1);
        QCOMPARE(control->Input(), QByteArray("\x06"));
        control->SetPortOpen(false);
        QVERIFY(!control->PortOpen());
    }

    // Where the driver has the mode, it is on while the port is open and as it was once it is closed.
    // This changes the device's flag, so it runs only on a device given for it in
    // TT_TEST_LOW_LATENCY_DEVICE (a USB serial bridge, say), whose flag it puts back at the end.
    void lowLatencyOnlyWhileOpen_data()
    {
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("before");
        QTest::newRow("asked for, off before") << true << false;
        QTest::newRow("asked for, on before") << true << true;
        QTest::newRow("not asked for") << false << false;
    }
    void lowLatencyOnlyWhileOpen()
    {
        QFETCH(bool, asked);
        QFETCH(bool, before);
        const QString device = qEnvironmentVariable("TT_TEST_LOW_LATENCY_DEVICE");
        if (device.isEmpty())
            QSKIP("no device given in TT_TEST_LOW_LATENCY_DEVICE");
        const std::optional<bool> original = LowLatencyFlag(device);
        if (!original)
            QSKIP("the device given has no low-latency mode, or cannot be opened");
        const auto restore = qScopeGuard([&] { SetLowLatencyFlag(device, *original); });
        QVERIFY(SetLowLatencyFlag(device, before));
        control->LowLatency = asked;
        control->SetPortResolver([&](int16_t) { return device; });
        QVERIFY(control->SetPortOpen(true));
        QCOMPARE(LowLatencyFlag(device), std::optional<bool>(asked || before));
        control->SetPortOpen(false);
        QCOMPARE(LowLatencyFlag(device), std::optional<bool>(before));
    }

    void hangUpEndsThePortOnceWithoutBusyLoop()
    {
        QVERIFY(OpenControl());
        QSignalSpy lost(control.get(), &SerialControl::PortLost);
        QSignalSpy received(control.get(), &SerialControl::OnComm);
        pty->HangUp();
        QTRY_COMPARE(lost.count(), 1);
        QVERIFY(!control->PortOpen());

        const qint64 cpu = CpuMsDuringWait(1000);
        QVERIFY2(cpu < 1000 / 3, qPrintable(QStringLiteral("%1 ms of processor time in 1000 ms").arg(cpu)));
        QCOMPARE(lost.count(), 1);
        QCOMPARE(received.count(), 0);
        control->Output("PROGRAM"); // nowhere to go, and no harm done
        QCOMPARE(lost.count(), 1);

        // The device comes back: the next opening works as ever.
        pty = std::make_unique<PtyPair>();
        QVERIFY(OpenControl());
        control->Output("PROGRAM");
        QCOMPARE(pty->Read(7), QByteArray("PROGRAM"));
    }

    void openFailureSaysWhy_data()
    {
        QTest::addColumn<int>("commPort");
        QTest::addColumn<QString>("path"); // "(pty)": the pseudo-terminal; "(held)": it, opened elsewhere
        QTest::addColumn<QString>("settings");
        QTest::addColumn<int>("source"); // PortSource
        QTest::addColumn<QString>("reason");
        const QString ok = QStringLiteral("115200,N,8,1");
        const int given = int(PortSource::Given);
        QTest::newRow("no port chosen") << 0 << "" << ok << given << "No COM port is chosen.";
        QTest::newRow("number names no device")
            << 7 << "" << ok << given << "COM7 names no serial device of this computer.";
        // A number the person never typed says where it came from.
        QTest::newRow("the window's choice names no device")
            << 950 << "" << ok << int(PortSource::Window)
            << "COM950, the port chosen in the window, names no serial device of this computer. "
               "\"tangelo-cli ports\" lists";
        QTest::newRow("the window's saved choice names no device")
            << 950 << "" << ok << int(PortSource::Saved)
            << "COM950, the port chosen in the window and saved from an earlier run, names no serial device "
               "of this computer. Give the radio's port with --port";
        QTest::newRow("device missing") << 7 << "/dev/ttyTANGELO-missing" << ok << given
                                        << "COM7 (/dev/ttyTANGELO-missing): there is no such device.";
        QTest::newRow("not a terminal")
            << 7 << "/dev/null" << ok << given << "COM7 (/dev/null): the device is not a serial port.";
        QTest::newRow("device missing, the window's choice")
            << 7 << "/dev/ttyTANGELO-missing" << ok << int(PortSource::Window)
            << "COM7 (/dev/ttyTANGELO-missing)";
        QTest::newRow("bad settings") << 7 << "(pty)"
                                      << "115200,X,8,1" << given << "not valid";
        // The program never names itself: a holder in this process is another program to the person.
        QTest::newRow("held by this very program")
            << 7 << "(held)" << ok << given << ") is held by another program (a terminal program";
    }
    void openFailureSaysWhy()
    {
        QFETCH(int, commPort);
        QFETCH(QString, path);
        QFETCH(QString, settings);
        QFETCH(int, source);
        QFETCH(QString, reason);
        const QString device = path.startsWith(u'(') ? pty->SlavePath() : path;
        SerialControl holder;
        if (path == u"(held)") {
            holder.SetPortResolver([device](int16_t) { return device; });
            holder.Settings = settings;
            QVERIFY(holder.SetPortOpen(true));
        }
        control->SetPortResolver([device](int16_t) { return device; });
        control->CommPort = int16_t(commPort);
        control->Settings = settings;
        control->Source = PortSource(source);
        QVERIFY(!control->SetPortOpen(true));
        QVERIFY(!control->PortOpen());
        QVERIFY2(control->ErrorString().contains(reason), qPrintable(control->ErrorString()));
    }

    // The system's reasons that a dealer meets, each in our own words: the text QSerialPort gives is
    // the system's for the code it met, so the code is found again from the text alone.
    void openFailureInOurWords_data()
    {
        QTest::addColumn<int>("error"); // QSerialPort::SerialPortError
        QTest::addColumn<int>("code");  // errno whose text the system gives; 0: `text`
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("kind"); // OpenFailure
        QTest::addColumn<QString>("says");
        const auto row = [](const char* name, QSerialPort::SerialPortError error, int code, OpenFailure kind,
                            const char* says, const char* text = "") {
            QTest::newRow(name) << int(error) << code << QString::fromUtf8(text) << int(kind)
                                << QString::fromUtf8(says);
        };
        row("no such file", QSerialPort::DeviceNotFoundError, ENOENT, OpenFailure::NoDevice,
            "there is no such device.");
        row("permission", QSerialPort::PermissionError, EACCES, OpenFailure::NoPermission,
            "this user account may not use the device.");
        row("not permitted", QSerialPort::PermissionError, EPERM, OpenFailure::NoPermission,
            "this user account may not use the device.");
        row("busy", QSerialPort::PermissionError, EBUSY, OpenFailure::Busy, "the device is in use.");
        row("lock file of another opening", QSerialPort::PermissionError, 0, OpenFailure::Busy,
            "the device is in use.", "Permission error while locking the device");
        row("not a terminal", QSerialPort::UnsupportedOperationError, ENOTTY, OpenFailure::NotSerial,
            "the device is not a serial port.");
        row("input/output error", QSerialPort::ResourceError, EIO, OpenFailure::InputOutput,
            "the device reported an input/output error.");
        row("no such device", QSerialPort::DeviceNotFoundError, ENODEV, OpenFailure::Gone,
            "the device is gone.");
        row("no such device or address", QSerialPort::UnknownError, ENXIO, OpenFailure::Gone,
            "the device is gone.");
        // The text decides, not Qt's grouping: EBUSY and EACCES are both a PermissionError.
        row("busy, whatever Qt's kind", QSerialPort::UnknownError, EBUSY, OpenFailure::Busy,
            "the device is in use.");
        row("a rare reason keeps the system's words", QSerialPort::UnknownError, ENOMEM, OpenFailure::Other,
            "");
    }
    void openFailureInOurWords()
    {
        QFETCH(int, error);
        QFETCH(int, code);
        QFETCH(QString, text);
        QFETCH(int, kind);
        QFETCH(QString, says);
        const QString reason = code != 0 ? qt_error_string(code) : text;
        const OpenFailure found =
            ClassifyOpenFailure(QSerialPort::SerialPortError(error), reason, OpenFailureCodes());
        QCOMPARE(int(found), kind);
        const QString sentence = OpenFailureSentence(found, QStringLiteral("COM100 (/dev/ttyUSB0)"));
        QCOMPARE(sentence, says.isEmpty() ? QString() : QStringLiteral("COM100 (/dev/ttyUSB0): ") + says);
    }

    // Each sentence wholly in the language of the system, the port's brackets included.
    void openFailureSpeaksTheLanguage_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("kind");
        for (const int language : {2, 1}) {
            for (int kind = int(OpenFailure::NoDevice); kind < int(OpenFailure::Other); ++kind)
                QTest::addRow("%s %d", language == 2 ? "Chinese" : "English", kind) << language << kind;
        }
    }
    void openFailureSpeaksTheLanguage()
    {
        QFETCH(int, language);
        QFETCH(int, kind);
        const ProgramTranslations translations(language);
        const QString sentence = OpenFailureSentence(OpenFailure(kind), QStringLiteral("COM100"));
        QVERIFY(sentence.startsWith(QStringLiteral("COM100")));
        const QStringList foreign = OtherLanguage::Foreign(sentence, language, {QStringLiteral("COM100")});
        QVERIFY2(foreign.isEmpty(), qPrintable(foreign.join(QStringLiteral(" | ")) + u'\n' + sentence));
    }

    // A port held by another program names that program where the system shows it: the process a
    // lock file names in QSerialPort's lock folder, or a process of the same user that holds the
    // device open in exclusive mode. A holder of another user stays unknown, and then a running
    // ModemManager, the usual holder of a new cable, is named with the udev rule that keeps it away.
    // As root the exclusive mode binds no one: the holder and the opening run as unprivileged users.
    void heldPortNamesItsHolder_data()
    {
        QTest::addColumn<QString>("holder"); // lock, same-user, other-user
        QTest::addColumn<bool>("modemManager");
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("says"); // "PID": the holder's process number
        QTest::newRow("lock file naming a live program")
            << "lock" << false << 1 << QStringList{" is held by the program sleep (process PID); close it"};
        QTest::newRow("held open by a program of the same user")
            << "same-user" << false << 1
            << QStringList{" is held by the program python3", "(process PID); close it"};
        QTest::newRow("held by another user, no ModemManager")
            << "other-user" << false << 1
            << QStringList{" is held by another program (a terminal program", "try again."};
        QTest::newRow("held by another user, ModemManager running")
            << "other-user" << true << 1
            << QStringList{" is held by another program, which this user account may not see. ModemManager "
                           "is running",
                           "ENV{ID_MM_DEVICE_IGNORE}=\"1\"", "sudo udevadm trigger"};
        QTest::newRow("held open by a program of the same user, Chinese")
            << "same-user" << false << 2
            << QStringList{QString::fromUtf8(" 正被程序 python3"),
                           QString::fromUtf8("（进程 PID）占用；请关闭该程序后再试。")};
        QTest::newRow("held by another user, ModemManager running, Chinese")
            << "other-user" << true << 2
            << QStringList{QString::fromUtf8(
                               " 正被另一个程序占用，当前用户账户看不到是哪个程序。ModemManager 正在运行"),
                           "ENV{ID_MM_DEVICE_IGNORE}=\"1\"", QString::fromUtf8("  后重新插入写频线。")};
    }
    void heldPortNamesItsHolder()
    {
        QFETCH(QString, holder);
        QFETCH(bool, modemManager);
        QFETCH(int, language);
        QFETCH(QStringList, says);
        const ProgramTranslations translations(language); // English installs nothing
        const bool root = ::geteuid() == 0;
        if (holder == u"other-user" && !root)
            QSKIP("only root can run the holder and the opening as two other users");
        const QString device = pty->SlavePath();
        QVERIFY(::chmod(qPrintable(device), 0666) == 0 || !root);
        QTemporaryDir folder;
        std::vector<std::unique_ptr<QProcess>> started;
        const auto cleanup = qScopeGuard([&] {
            for (const auto& process : started) {
                process->kill();
                process->waitForFinished();
            }
        });
        const auto start = [&](const QString& program, const QStringList& arguments) {
            started.push_back(std::make_unique<QProcess>());
            started.back()->start(program, arguments);
            return started.back().get();
        };
        if (modemManager) {
            // A process of that name, as the system lists it.
            const QString copy = folder.filePath(QStringLiteral("ModemManager"));
            QVERIFY(QFile::copy(QStringLiteral("/bin/sleep"), copy));
            QVERIFY(start(copy, {QStringLiteral("30")})->waitForStarted());
        }

        qint64 pid = 0;
        std::optional<uid_t> opener;
        QString lockPath;
        if (holder == u"lock") {
            QProcess* sleeper = start(QStringLiteral("sleep"), {QStringLiteral("30")});
            QVERIFY(sleeper->waitForStarted());
            pid = sleeper->processId();
            lockPath = SerialLockFilePath(device);
            QVERIFY(!lockPath.isEmpty());
            QFile lock(lockPath);
            QVERIFY(lock.open(QIODevice::WriteOnly));
            // QLockFile's form: number, program, host. (QSerialPort takes a uucp tool's lock, a padded
            // number alone, for a stale one and opens the port.)
            lock.write(QByteArray::number(pid) + "\nsleep\n" + QSysInfo::machineHostName().toUtf8() + '\n');
        } else {
            const QString script = QStringLiteral("import os, sys, fcntl, termios, time\n"
                                                  "fd = os.open(sys.argv[1], os.O_RDWR | os.O_NOCTTY)\n"
                                                  "fcntl.ioctl(fd, termios.TIOCEXCL)\n"
                                                  "print('ready', flush=True)\n"
                                                  "time.sleep(30)\n");
            const QStringList python{QStringLiteral("/usr/bin/python3"), QStringLiteral("-c"), script,
                                     device};
            QProcess* held =
                root ? start(QStringLiteral("setpriv"),
                             QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                         QStringLiteral("--clear-groups")} +
                                 python)
                     : start(python.first(), python.mid(1));
            QVERIFY(held->waitForReadyRead(5000));
            QCOMPARE(held->readAllStandardOutput().trimmed(), QByteArray("ready"));
            pid = held->processId();
            if (root)
                opener = holder == u"same-user" ? 65534 : 65533;
        }
        const auto removeLock = qScopeGuard([&] {
            if (!lockPath.isEmpty())
                QFile::remove(lockPath);
        });

        const QString reason = OpenFailureAs(opener, device);
        // The port's device in the brackets of the language: COM5（/dev/pts/1） in Chinese.
        const QString port = language == 2 ? QStringLiteral("COM5（%1）") : QStringLiteral("COM5 (%1)");
        QVERIFY2(reason.startsWith(port.arg(device)), qPrintable(reason));
        QCOMPARE(reason.count(device), 1); // the port is named once
        for (QString part : says) {
            part.replace(QStringLiteral("PID"), QString::number(pid));
            QVERIFY2(reason.contains(part), qPrintable(reason));
        }
        QCOMPARE(reason.contains(u"ModemManager"), modemManager);
        const QStringList foreign = OtherLanguage::Foreign(
            reason, language,
            {QStringLiteral("sudo udevadm control --reload"), QStringLiteral("sudo udevadm trigger")});
        QVERIFY2(foreign.isEmpty(), qPrintable(foreign.join(QStringLiteral(" | ")) + u'\n' + reason));
    }

    // What the system says of the cable, read at opening once low latency is asked for, goes into the
    // detail of a failure. An FTDI latency timer that still reads above 1 ms delays each reply by far
    // less than a wait: its remedy comes only beside replies that came after their wait, never with a
    // silent radio. The pseudo-terminal is given an FTDI cable in a fake sysfs tree.
    void cableInFailureDetail_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("latency");
        QTest::addColumn<bool>("late"); // the replies came after their waits; else nothing came
        QTest::addColumn<QStringList>("says");
        const QString cable =
            QStringLiteral("The cable is FTDI FT232R USB UART (USB 0403:6001, driver ftdi_sio).");
        const QString remedy =
            QStringLiteral("Its latency timer still reads 16 ms although the program asked "
                           "the driver for low latency");
        QTest::newRow("timer at 16 ms, replies late")
            << 1 << "16" << true
            << QStringList{"after 3 tries", cable, remedy, "echo 1 | sudo tee /sys/class/tty/"};
        QTest::newRow("timer at 16 ms, nothing came")
            << 1 << "16" << false << QStringList{"after 3 tries", cable};
        QTest::newRow("timer at 1 ms, replies late") << 1 << "1" << true << QStringList{cable};
        QTest::newRow("no timer, replies late") << 1 << "" << true << QStringList{cable};
        QTest::newRow("timer at 16 ms, replies late, Chinese")
            << 2 << "16" << true
            << QStringList{
                   QString::fromUtf8("写频线使用 FTDI FT232R USB UART（USB 0403:6001，驱动程序 ftdi_sio）。"),
                   QString::fromUtf8("其延迟计时器仍为 16 毫秒")};
        QTest::newRow("timer at 16 ms, nothing came, Chinese")
            << 2 << "16" << false
            << QStringList{QString::fromUtf8(
                   "写频线使用 FTDI FT232R USB UART（USB 0403:6001，驱动程序 ftdi_sio）。")};
    }
    void cableInFailureDetail()
    {
        QFETCH(int, language);
        QFETCH(QString, latency);
        QFETCH(bool, late);
        QFETCH(QStringList, says);
        const ProgramTranslations translations(language); // English installs nothing
        const QTemporaryDir sys;
        const QString usb = sys.filePath(QStringLiteral("devices/pci0000:00/usb1/1-1"));
        const QString port = usb + QStringLiteral("/1-1:1.0/ttyUSB0");
        const QString driver = sys.filePath(QStringLiteral("bus/usb-serial/drivers/ftdi_sio"));
        const QString tty =
            sys.filePath(QStringLiteral("class/tty/") + QFileInfo(pty->SlavePath()).fileName());
        QVERIFY(QDir().mkpath(port) && QDir().mkpath(driver) && QDir().mkpath(tty));
        QVERIFY(QFile::link(port, tty + QStringLiteral("/device")));
        QVERIFY(QFile::link(driver, port + QStringLiteral("/driver")));
        const auto write = [](const QString& path, const QString& text) {
            QFile file(path);
            return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8() + '\n') > 0;
        };
        QVERIFY(latency.isEmpty() || write(port + QStringLiteral("/latency_timer"), latency));
        QVERIFY(write(usb + QStringLiteral("/idVendor"), QStringLiteral("0403")));
        QVERIFY(write(usb + QStringLiteral("/idProduct"), QStringLiteral("6001")));
        QVERIFY(write(usb + QStringLiteral("/manufacturer"), QStringLiteral("FTDI")));
        QVERIFY(write(usb + QStringLiteral("/product"), QStringLiteral("FT232R USB UART")));

        control->CableRoot = sys.path();
        QVERIFY(OpenControl());
        control->SetPortOpen(false);
        SessionOutcome outcome;
        outcome.Result = SessionResult::Failure;
        outcome.Mode = SessionMode::Read;
        outcome.ComPort = 3;
        outcome.Device = pty->SlavePath();
        outcome.Step = SessionStep::ProgramCommand;
        outcome.Frame = Proto::ProgramCommand.toByteArray();
        outcome.Tries = 3;
        const QByteArray got = late ? QByteArray(1, char(Proto::Ack)) : QByteArray();
        outcome.Line = ClassifyLine(outcome.Frame, {got, got, got});
        outcome.Cable = control->Cable();
        const QString detail = OutcomeDetail(outcome);
        for (const QString& part : says)
            QVERIFY2(detail.contains(part), qPrintable(detail));
        QCOMPARE(detail.contains(QStringLiteral("latency_timer")), late && latency == u"16");
        const QStringList foreign = OtherLanguage::Foreign(
            detail, language, {QStringLiteral("FT232R USB UART"), QStringLiteral("sudo tee")});
        QVERIFY2(foreign.isEmpty(), qPrintable(foreign.join(QStringLiteral(" | ")) + u'\n' + detail));
    }

    // The advice for a device the user may not open, by its owner, group and bits: a group to join only
    // when its bits give read and write and it is not root's; else the udev rule for dialout. In
    // Chinese too, with the group and the device in their places and no English sentence.
    void permissionHint_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("ownerId");
        QTest::addColumn<int>("groupId");
        QTest::addColumn<QString>("groupName");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("joins"); // the one group that the text tells the user to join
        QTest::addColumn<QString>("says");
        const QString rule = QStringLiteral("GROUP=\"dialout\", MODE=\"0660\"");
        QTest::newRow("root:dialout 0660") << 1 << 0 << 20 << "dialout" << 0660 << "dialout"
                                           << "group \"dialout\"";
        QTest::newRow("root:uucp 0660") << 1 << 0 << 14 << "uucp" << 0660 << "uucp"
                                        << "group \"uucp\"";
        QTest::newRow("root:root 0600") << 1 << 0 << 0 << "root" << 0600 << "dialout"
                                        << "no ordinary user";
        QTest::newRow("root:root 0660") << 1 << 0 << 0 << "root" << 0660 << "dialout" << rule;
        QTest::newRow("root:dialout 0600") << 1 << 0 << 20 << "dialout" << 0600 << "dialout" << rule;
        QTest::newRow("root:dialout 0640, read only")
            << 1 << 0 << 20 << "dialout" << 0640 << "dialout" << rule;
        QTest::newRow("root:4711 0660, group without a name")
            << 1 << 0 << 4711 << "" << 0660 << "dialout" << rule;
        QTest::newRow("alice:tty 0620, a terminal") << 1 << 1000 << 5 << "tty" << 0620 << "dialout"
                                                    << "user 1000";
        QTest::newRow("root:uucp 0660, Chinese")
            << 2 << 0 << 14 << "uucp" << 0660 << "uucp" << QString::fromUtf8("用户组“uucp”");
        QTest::newRow("alice:tty 0620, Chinese")
            << 2 << 1000 << 5 << "tty" << 0620 << "dialout"
            << QString::fromUtf8(
                   "只有用户 1000 可以使用 /dev/ttyUSB0（用户组 tty，权限 0620）。用一条 udev 规则");
    }

    void permissionHint()
    {
        QFETCH(int, language);
        QFETCH(int, ownerId);
        QFETCH(int, groupId);
        QFETCH(QString, groupName);
        QFETCH(int, mode);
        QFETCH(QString, joins);
        QFETCH(QString, says);
        const ProgramTranslations translations(language); // English installs nothing
        const DeviceAccess access{uint32_t(ownerId), {}, uint32_t(groupId), groupName, unsigned(mode)};
        const QString text = PermissionHint(QStringLiteral("/dev/ttyUSB0"), access);
        QVERIFY2(text.contains(says), qPrintable(text));
        const QStringList foreign =
            OtherLanguage::Foreign(text, language, {QStringLiteral("sudo udevadm trigger")});
        QVERIFY2(foreign.isEmpty(), qPrintable(foreign.join(QStringLiteral(" | ")) + u'\n' + text));
        const QString join = QStringLiteral("usermod -aG ");
        QCOMPARE(text.count(join), 1);
        QCOMPARE(text.mid(text.indexOf(join) + join.size()).section(u' ', 0, 0), joins);
    }

    // The same advice from the device itself, for a user who may not use it: here a pseudo-terminal
    // (group tty, which may only write) and the user "nobody".
    void permissionDeniedGivesTheHint()
    {
        const passwd* nobody = ::getpwnam("nobody");
        if (!nobody)
            QSKIP("no user nobody");
        if (::geteuid() != 0 && ::access(pty->SlavePath().toLocal8Bit().constData(), R_OK | W_OK) == 0)
            QSKIP("this user may open the pseudo-terminal, and cannot become another");
        // As root a child becomes nobody; a user who may not open it tries as itself.
        const QString device = pty->SlavePath();
        const QByteArray text =
            (::geteuid() == 0 ? OpenFailureAs(nobody->pw_uid, device) : OpenFailureAs(std::nullopt, device))
                .toUtf8();
        QVERIFY2(text.contains("this user account may not use the device."), text.constData());
        QVERIFY2(text.contains("usermod -aG dialout"), text.constData());
        QVERIFY2(!text.contains("usermod -aG tty"), text.constData());
    }
};

// The functions side by side, the slowest first.
TT_QTEST_GUILESS_MAIN_SIDE_BY_SIDE(TestSerialControl, 8, 6, {"bytesWrittenJustBeforeClosingLeave"})
#include "tst_serialcontrol.moc"
