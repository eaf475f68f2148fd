// The serial control over a real pseudo-terminal: what goes in and out, when the receive event
// fires, and what happens when the far end goes away or the device cannot be opened.
#include "link/PermissionHint.h"
#include "link/SerialControl.h"
#include "OtherLanguage.h"
#include "PtyPair.h"
#include "settings/ProgramTranslations.h"
#include "settings/SystemLanguage.h"
#include "Timing.h"
#include "TraceCapture.h"

#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <numeric>
#include <optional>

#include <fcntl.h>
#include <grp.h>
#include <linux/serial.h>
#include <pwd.h>
#include <sys/ioctl.h>
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

    void bytesWrittenJustBeforeClosingLeave()
    {
        QVERIFY(OpenControl());
        control->Output("END");
        control->SetPortOpen(false);
        QVERIFY(!control->PortOpen());
        QCOMPARE(pty->Read(3), QByteArray("END"));
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
        QTest::addColumn<QString>("reason");
        const QString ok = QStringLiteral("115200,N,8,1");
        QTest::newRow("no port chosen") << 0 << "" << ok << "No COM port is chosen.";
        QTest::newRow("number names no device") << 7 << "" << ok << "COM7 names no serial device";
        QTest::newRow("device missing") << 7 << "/dev/ttyTANGELO-missing" << ok << "/dev/ttyTANGELO-missing";
        QTest::newRow("bad settings") << 7 << "(pty)"
                                      << "115200,X,8,1"
                                      << "not valid";
        QTest::newRow("held by another program") << 7 << "(held)" << ok << "Another program";
    }
    void openFailureSaysWhy()
    {
        QFETCH(int, commPort);
        QFETCH(QString, path);
        QFETCH(QString, settings);
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
        QVERIFY(!control->SetPortOpen(true));
        QVERIFY(!control->PortOpen());
        QVERIFY2(control->ErrorString().contains(reason), qPrintable(control->ErrorString()));
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
                   "只有用户 1000 可以使用 /dev/ttyUSB0（用户组 tty，权限 0620）。可以用一条 udev 规则");
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
        std::optional<ProgramTranslations> translations;
        if (language == ChineseLanguage)
            translations.emplace(ChineseLanguage);
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
        int pipeEnds[2];
        QVERIFY(::pipe(pipeEnds) == 0);
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            ::close(pipeEnds[0]);
            if (::geteuid() == 0) {
                ::setgroups(0, nullptr);
                if (::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0)
                    ::_exit(2);
            }
            SerialControl denied;
            denied.SetPortResolver([this](int16_t) { return pty->SlavePath(); });
            denied.Settings = QStringLiteral("115200,N,8,1");
            const bool opened = denied.SetPortOpen(true);
            const QByteArray text = denied.ErrorString().toUtf8();
            [[maybe_unused]] const ssize_t n = ::write(pipeEnds[1], text.constData(), size_t(text.size()));
            ::_exit(opened ? 1 : 0);
        }
        ::close(pipeEnds[1]);
        QByteArray text;
        char buffer[1024];
        for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
            text.append(buffer, n);
        ::close(pipeEnds[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) == 0, text.constData());
        QVERIFY2(text.contains("Permission denied"), text.constData());
        QVERIFY2(text.contains("usermod -aG dialout"), text.constData());
        QVERIFY2(!text.contains("usermod -aG tty"), text.constData());
    }
};

QTEST_GUILESS_MAIN(TestSerialControl)
#include "tst_serialcontrol.moc"
