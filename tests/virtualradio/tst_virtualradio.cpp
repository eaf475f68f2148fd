// The virtual radio over a real pseudo-terminal: the test plays the program's side with a plain fd.
#include "DefaultImage.h"
#include "PtyPair.h"
#include "RadioOptions.h"
#include "RadioTrace.h"
#include "SideBySide.h"
#include "WireBytes.h"
#include "WireModel.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using Frames = QList<QByteArray>;

namespace {
QByteArray DefaultBlock(int n)
{
    const auto image = MakeDefaultImage();
    return QByteArray(reinterpret_cast<const char*>(image.data()) + n * 32, 32);
}
} // namespace

class TestVirtualRadio : public QObject
{
    Q_OBJECT

    std::unique_ptr<VirtualRadio> radio;
    int fd = -1;

    int OpenSlave()
    {
        const int slave = ::open(qPrintable(radio->DevicePath()), O_RDWR | O_NOCTTY | O_NONBLOCK);
        termios tio{};
        tcgetattr(slave, &tio);
        cfmakeraw(&tio);
        tcsetattr(slave, TCSANOW, &tio);
        return slave;
    }

    // Sends one frame and collects what comes back until the line has been quiet for quietMs.
    QByteArray Exchange(const QByteArray& frame, int quietMs = 80)
    {
        QByteArray received;
        if (!frame.isEmpty()) [[maybe_unused]]
            const ssize_t n = ::write(fd, frame.constData(), size_t(frame.size()));
        QElapsedTimer quiet;
        quiet.start();
        while (quiet.elapsed() < quietMs) {
            QTest::qWait(2);
            char buffer[256];
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n > 0) {
                received.append(buffer, n);
                quiet.restart();
            }
        }
        return received;
    }

private slots:
    void init()
    {
        radio = std::make_unique<VirtualRadio>();
        QVERIFY2(radio->OpenPty(), qPrintable(radio->ErrorString()));
        QVERIFY(radio->DevicePath().startsWith("/dev/pts/"));
        fd = OpenSlave();
        QVERIFY(fd >= 0);
    }

    void cleanup()
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
        radio.reset();
    }

    void replies_data()
    {
        QTest::addColumn<Frames>("frames");
        QTest::addColumn<VirtualRadioFaults>("faults");
        QTest::addColumn<QByteArray>("identity");
        QTest::addColumn<QByteArray>("expected");
        const auto row = [](const char* name, const Frames& frames, const QByteArray& expected,
                            const VirtualRadioFaults& faults = {}, const QByteArray& identity = "RZ614UV") {
            QTest::newRow(name) << frames << faults << identity << expected;
        };
        const QByteArray identReply = Hex("49") + "RZ614UV" + Hex("00ffffffffffff06");
        row("program command", {"PROGRAM"}, Hex("06"));
        row("identity reply", {Hex("02")}, identReply);
        row("short identity padded with 0xFF", {Hex("02")}, Hex("49") + "RZ614" + Hex("ffff00ffffffffffff06"),
            {}, "RZ614");
        row("read block 0", {ReadRequest(0)}, BlockFrame(0, DefaultBlock(0)));
        row("read block 7", {ReadRequest(7)}, BlockFrame(7, DefaultBlock(7)));
        row("read past the image", {ReadRequest(8)}, Hex("0a"));
        row("end command", {"END"}, Hex("06"));
        row("block write, bad checksum", {BlockFrame(1, QByteArray(32, 0), 1)}, Hex("0a"));
        row("stray bytes before a frame", {Hex("1515") + "PROGRAM"}, Hex("06"));
        row("broken head, then a frame", {"PRXEN" + ReadRequest(2)}, BlockFrame(2, DefaultBlock(2)));
        row("whole session in one write", {"PROGRAM" + Hex("02") + ReadRequest(1) + "END"},
            Hex("06") + identReply + BlockFrame(1, DefaultBlock(1)) + Hex("06"));

        row("nak on frames 1 and 3", {"PROGRAM", Hex("02"), "PROGRAM", "END"}, Hex("060a060a"),
            Faults([](auto& f) {
                f.nakFrames = {3, 1};
            }));
        row("bad checksums", {ReadRequest(3), ReadRequest(4), ReadRequest(5)},
            BlockFrame(3, DefaultBlock(3), 1) + BlockFrame(4, DefaultBlock(4)) +
                BlockFrame(5, DefaultBlock(5), 1),
            Faults([](auto& f) {
                f.badChecksumFrames = {0, 2};
            }));
        row("stray bytes", {"PROGRAM", "PROGRAM"},
            Hex("06") + char(VirtualRadio::StrayByte) + Hex("06") + char(VirtualRadio::StrayByte),
            Faults([](auto& f) {
                f.strayByteFrames = {0, 1};
            }));
        row("wrong blocks 9 and 5", {"PROGRAM", ReadRequest(2), ReadRequest(3), ReadRequest(2)},
            Hex("06") + BlockFrame(9, DefaultBlock(2)) + BlockFrame(3, DefaultBlock(3)) +
                BlockFrame(5, DefaultBlock(5)),
            Faults([](auto& f) {
                f.wrongBlocks = {{1, 9}, {3, 5}};
            }));
        row("end ignored", {"PROGRAM", "END"}, Hex("06"), Faults([](auto& f) { f.ignoreEnd = true; }));
        row("silent from the start", {"PROGRAM", Hex("02")}, {},
            Faults([](auto& f) { f.silentFromFrame = 0; }));
        row("silent from frame 1", {"PROGRAM", Hex("02"), "END"}, Hex("06"),
            Faults([](auto& f) { f.silentFromFrame = 1; }));
        // The line without a radio: bytes back as they came, or as noise, frames or not.
        row("echo", {"PROGRAM", Hex("1502")}, "PROGRAM" + Hex("1502"),
            Faults([](auto& f) { f.echo = true; }));
        row("noise", {"PROGRAM", Hex("02")}, Hex("f880fe7800e09cff"),
            Faults([](auto& f) { f.noise = true; }));
        row("every frame refused", {"PROGRAM", Hex("02"), ReadRequest(1), "END"}, Hex("0a0a0a0a"),
            Faults([](auto& f) { f.refuseAll = true; }));
    }

    void replies()
    {
        QFETCH(Frames, frames);
        QFETCH(VirtualRadioFaults, faults);
        QFETCH(QByteArray, identity);
        QFETCH(QByteArray, expected);
        radio->SetIdentity(identity);
        radio->SetFaults(faults);
        QByteArray received;
        for (const auto& frame : frames)
            received += Exchange(frame);
        QCOMPARE(received.toHex(' '), expected.toHex(' '));
    }

    void blockWrite_data()
    {
        QTest::addColumn<int>("block");
        QTest::addColumn<int>("checksumOffset");
        QTest::addColumn<VirtualRadioFaults>("faults");
        QTest::addColumn<bool>("stored");
        QTest::addColumn<bool>("acknowledged");
        QTest::newRow("block 0") << 0 << 0 << VirtualRadioFaults{} << true << true;
        QTest::newRow("block 4") << 4 << 0 << VirtualRadioFaults{} << true << true;
        QTest::newRow("block 7") << 7 << 0 << VirtualRadioFaults{} << true << true;
        QTest::newRow("bad checksum") << 3 << 1 << VirtualRadioFaults{} << false << false;
        QTest::newRow("block 8") << 8 << 0 << VirtualRadioFaults{} << false << false;
        QTest::newRow("refused by the nak switch")
            << 3 << 0 << Faults([](auto& f) { f.nakFrames = {0}; }) << false << false;
        QTest::newRow("acknowledged, not kept")
            << 3 << 0 << Faults([](auto& f) { f.unstoredFrames = {0}; }) << false << true;
    }

    // A stored block reads back as written and leaves every other byte alone; byte 7 of block 0
    // is the band, which the next identity reply then carries.
    void blockWrite()
    {
        QFETCH(int, block);
        QFETCH(int, checksumOffset);
        QFETCH(VirtualRadioFaults, faults);
        QFETCH(bool, stored);
        QFETCH(bool, acknowledged);
        radio->SetFaults(faults);
        QSignalSpy written(radio.get(), &VirtualRadio::BlockWritten);
        const auto before = radio->Image();
        QByteArray data;
        for (int i = 0; i < 32; ++i)
            data += char(0xA0 + i);

        QCOMPARE(Exchange(BlockFrame(block, data, checksumOffset)), Hex(acknowledged ? "06" : "0a"));
        QCOMPARE(written.size(), stored ? 1 : 0);
        for (int i = 0; i < 256; ++i) {
            const bool inBlock = stored && i / 32 == block;
            QCOMPARE(radio->Image()[size_t(i)], inBlock ? uint8_t(data[i % 32]) : before[size_t(i)]);
        }
        if (stored) {
            QCOMPARE(Exchange(ReadRequest(block)), BlockFrame(block, data));
            QCOMPARE(uint8_t(Exchange(Hex("02"))[8]), radio->Image()[7]);
        }
    }

    // Timing from the trace: times never run backwards; stray bytes are traced apart and not
    // counted as frames, and ClearTrace restarts the count the fault switches refer to.
    void trace()
    {
        radio->SetFaults(Faults([](auto& f) { f.nakFrames = {1}; }));
        QCOMPARE(Exchange(Hex("15") + "PROGRAM"), Hex("06"));
        QTest::qWait(50);
        QCOMPARE(Exchange(Hex("02")), Hex("0a"));
        const auto trace = radio->Trace();
        QCOMPARE(trace.size(), 3);
        QCOMPARE(trace[0].frame, Hex("15"));
        QVERIFY(!trace[0].recognised);
        QCOMPARE(trace[1].frame, QByteArray("PROGRAM"));
        QVERIFY(trace[1].recognised && trace[2].recognised);
        QVERIFY(trace[0].ms <= trace[1].ms);
        QVERIFY(trace[2].ms - trace[1].ms >= 45);

        radio->ClearTrace();
        QCOMPARE(Exchange("PROGRAM"), Hex("06"));
        QCOMPARE(Exchange("PROGRAM"), Hex("0a"));
        QCOMPARE(radio->Trace().size(), 2);
    }

    // A frame that stops arriving is given up, so the next one is answered.
    void partialFrameGivenUp()
    {
        QCOMPARE(Exchange(Hex("570800200112"), 250), QByteArray());
        QCOMPARE(Exchange("PROGRAM"), Hex("06"));
        const auto trace = radio->Trace();
        QCOMPARE(trace.size(), 2);
        QVERIFY(!trace[0].recognised);
        QCOMPARE(trace[0].frame, Hex("570800200112"));
    }

    void replyTiming_data()
    {
        QTest::addColumn<VirtualRadioFaults>("faults");
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("extraUs"); // delay and turnaround, on top of the line's time
        QTest::addColumn<int>("lineIn");  // bytes whose line time comes before the reply's first byte
        const QByteArray read6 = ReadRequest(6);
        const QByteArray block6 = BlockFrame(6, DefaultBlock(6));
        const QByteArray write2 = BlockFrame(2, QByteArray(32, 'w'));
        QTest::newRow("reply delay") << Faults([](auto& f) { f.replyDelayMs = 200; }) << read6 << block6
                                     << 200'000 << 0;
        QTest::newRow("paced output")
            << Faults([](auto& f) { f.paceOutput = true; }) << read6 << block6 << 0 << 0;
        QTest::newRow("paced and delayed")
            << Faults([](auto& f) { f.paceOutput = true, f.replyDelayMs = 50; }) << read6 << block6 << 50'000
            << 0;
        const auto wire = [](int turnaroundUs) {
            VirtualRadioFaults faults;
            faults.paceInput = faults.paceOutput = true;
            faults.turnaroundUs = turnaroundUs;
            return faults;
        };
        QTest::newRow("line: block write") << wire(0) << write2 << Hex("06") << 0 << 38;
        QTest::newRow("line: read request") << wire(0) << read6 << block6 << 0 << 5;
        QTest::newRow("line: 5 ms turnaround") << wire(5000) << read6 << block6 << 5000 << 5;
    }

    // From the radio's own trace: a reply leaves no sooner than the frame's time on the line (from
    // its first byte), the turnaround and the delay allow, and when paced its bytes take their line
    // time too; nor does it come so late that a unit was mistaken.
    void replyTiming()
    {
        QFETCH(VirtualRadioFaults, faults);
        QFETCH(QByteArray, frame);
        QFETCH(QByteArray, reply);
        QFETCH(int, extraUs);
        QFETCH(int, lineIn);
        radio->SetFaults(faults);
        [[maybe_unused]] const ssize_t n = ::write(fd, frame.constData(), size_t(frame.size()));
        // A live event loop, not qWait's naps of 10 ms, which would make any radio late enough.
        QTimer wake;
        wake.start(100);
        QElapsedTimer waited;
        waited.start();
        while (radio->Sent().isEmpty() && waited.elapsed() < 3000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QCOMPARE(radio->Sent().size(), 1);
        QCOMPARE(Exchange({}, 50), reply);

        using std::chrono::microseconds;
        constexpr std::chrono::nanoseconds byte(86'805); // 10 bits at 115200 baud, a little under
        const int paced = faults.paceOutput ? 1 : 0;
        const auto in = radio->Trace().first();
        const auto sent = radio->Sent().first();
        QVERIFY(in.arrivedAt - in.firstByteAt >= lineIn * byte);
        const auto first = sent.firstByteAt - in.firstByteAt;
        const auto last = sent.lastByteAt - in.firstByteAt;
        const auto least = lineIn * byte + microseconds(extraUs);
        QVERIFY2(first >= least + paced * byte && last >= least + paced * reply.size() * byte,
                 qPrintable(QStringLiteral("first byte after %1 us, last after %2 us")
                                .arg(std::chrono::duration_cast<microseconds>(first).count())
                                .arg(std::chrono::duration_cast<microseconds>(last).count())));
        QVERIFY(last < least + reply.size() * byte + std::chrono::milliseconds(1000));
    }

    // Replies in lots, on a clock of its own: the bytes due by a lot's moment go out in it, the rest
    // wait for the next one; paced bytes are due as the line carries them.
    void replyLots_data()
    {
        QTest::addColumn<bool>("paced");
        QTest::addColumn<int>("dueUs");           // the reply's due moment, from a lot's moment
        QTest::addColumn<QList<int>>("lotSizes"); // the bytes each lot hands over, from the first on
        QTest::addColumn<int>("firstLot");        // the lot that carries the first bytes, 0 = the one at 0
        QTest::newRow("due on a lot") << false << 0 << QList<int>{38} << 0;
        QTest::newRow("due between lots") << false << 3000 << QList<int>{38} << 1;
        // 2 ms of line before the lot at 16 ms: 23 bytes, the 15 others in the next lot.
        QTest::newRow("paced, across a lot") << true << 14000 << QList<int>{23, 15} << 1;
        QTest::newRow("paced, inside a lot") << true << 1000 << QList<int>{38} << 1;
    }
    void replyLots()
    {
        QFETCH(bool, paced);
        QFETCH(int, dueUs);
        QFETCH(QList<int>, lotSizes);
        QFETCH(int, firstLot);
        using std::chrono::microseconds;
        constexpr std::chrono::milliseconds lot(16);
        const WireClock::time_point origin(std::chrono::hours(1)); // a multiple of the lot
        WireOut wire;
        wire.modelled = paced;
        wire.lot = lot;
        wire.Queue(QByteArray(38, 'r'), origin + microseconds(dueUs));
        QList<WireOut::Sent> done;
        QList<int> sizes;
        WireClock::time_point at = origin;
        for (int k = 0; k < 6 && done.isEmpty(); ++k, at += lot) {
            // Just before a lot's moment nothing more comes; at it, all that is due.
            QCOMPARE(wire.Release(at - microseconds(1), done).size(), 0);
            const qsizetype n = wire.Release(at, done).size();
            if (n > 0 && sizes.isEmpty())
                QCOMPARE(k, firstLot);
            if (n > 0)
                sizes << int(n);
            if (const auto next = wire.NextDue())
                QVERIFY((next->time_since_epoch() % lot).count() == 0 && *next > at);
        }
        QCOMPARE(sizes, lotSizes);
        QCOMPARE(done.size(), 1);
    }

    // The program opens and closes the port for each session; the radio keeps serving throughout.
    void reopenKeepsServing()
    {
        ::close(fd);
        fd = -1;
        QSignalSpy hungUp(radio.get(), &VirtualRadio::HungUp);
        for (int session = 0; session < 3; ++session) {
            QSerialPort port(radio->DevicePath());
            QVERIFY2(port.open(QIODevice::ReadWrite), qPrintable(port.errorString()));
            port.setBaudRate(115200);
            port.clear();
            port.write("PROGRAM");
            QTRY_COMPARE(port.bytesAvailable(), 1);
            QCOMPARE(port.readAll(), Hex("06"));
            port.close();
            QTest::qWait(20);
        }
        QCOMPARE(hungUp.size(), 0);
        QVERIFY(radio->IsOpen());
        QCOMPARE(radio->Trace().size(), 3);
    }

    void hangUpMidSession()
    {
        radio->SetFaults(Faults([](auto& f) { f.hangUpFrames = {1}; }));
        QSignalSpy hungUp(radio.get(), &VirtualRadio::HungUp);
        QCOMPARE(Exchange("PROGRAM"), Hex("06"));
        QCOMPARE(Exchange(Hex("02")), QByteArray());
        QCOMPARE(hungUp.size(), 1);
        QVERIFY(!radio->IsOpen());
        pollfd p{fd, POLLIN, 0};
        QCOMPARE(::poll(&p, 1, 1000), 1);
        QVERIFY(p.revents & POLLHUP);
    }

    // A serial device stands in for a pseudo-terminal's slave side here; closing the master is the
    // cable pulled out, which must end the radio's device once, not wake it forever.
    void serialDevice()
    {
        QVERIFY(!radio->OpenDevice("/dev/no-such-tty"));
        QVERIFY(!radio->ErrorString().isEmpty());

        PtyPair cable;
        QVERIFY2(radio->OpenDevice(cable.SlavePath()), qPrintable(radio->ErrorString()));
        cable.Write("PROGRAM" + ReadRequest(1));
        QCOMPARE(cable.Read(39), Hex("06") + BlockFrame(1, DefaultBlock(1)));

        QSignalSpy hungUp(radio.get(), &VirtualRadio::HungUp);
        cable.HangUp();
        QTRY_COMPARE(hungUp.size(), 1);
        QVERIFY(!radio->IsOpen());
    }

    void imageFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("radio.bin");
        radio->Image().fill(0x5A);
        radio->Image()[255] = 0x01;
        QVERIFY(radio->SaveImage(path));
        QCOMPARE(QFileInfo(path).size(), 256);
        radio->SetDefaultImage();
        QVERIFY(radio->LoadImage(path));
        QCOMPARE(radio->Image()[0], uint8_t(0x5A));
        QCOMPARE(radio->Image()[255], uint8_t(0x01));

        QFile shortFile(dir.filePath("short.bin"));
        QVERIFY(shortFile.open(QIODevice::WriteOnly));
        shortFile.write(QByteArray(255, 0));
        shortFile.close();
        QVERIFY(!radio->LoadImage(shortFile.fileName()));
        QCOMPARE(radio->Image()[0], uint8_t(0x5A));
    }

    void options_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<VirtualRadioFaults>("faults");
        QTest::newRow("none") << QStringList{} << true << VirtualRadioFaults{};
        QTest::newRow("every switch")
            << QStringLiteral("--silent-from 9 --nak 1 --bad-checksum 2 --stray-byte 3 --wrong-block 4:8 "
                              "--ignore-end --delay 20 --pace --hang-up 5")
                   .split(u' ')
            << true << Faults([](auto& f) {
                   f.silentFromFrame = 9, f.nakFrames = {1}, f.badChecksumFrames = {2},
                   f.strayByteFrames = {3};
                   f.wrongBlocks = {{4, 8}}, f.ignoreEnd = true, f.replyDelayMs = 20;
                   f.paceOutput = true, f.hangUpFrames = {5};
               });
        QTest::newRow("memory and lots")
            << QStringLiteral("--unstored 8,9 --lots 16").split(u' ') << true << Faults([](auto& f) {
                   f.unstoredFrames = {8, 9}, f.lotMs = 16;
               });
        QTest::newRow("the line without a radio, and refusals")
            << QStringLiteral("--echo --refuse-all").split(u' ') << true
            << Faults([](auto& f) { f.echo = f.refuseAll = true; });
        QTest::newRow("noise") << QStringList{"--noise"} << true << Faults([](auto& f) { f.noise = true; });
        QTest::newRow("echo and noise") << QStringList{"--echo", "--noise"} << false << VirtualRadioFaults{};
        QTest::newRow("line both ways")
            << QStringLiteral("--wire --turnaround 250").split(u' ') << true
            << Faults([](auto& f) { f.paceInput = f.paceOutput = true, f.turnaroundUs = 250; });
        QTest::newRow("lists, repeated and comma-separated")
            << QStringLiteral("--nak 2 --nak 3,7 --bad-checksum 4,4 --stray-byte 0 --stray-byte 1 "
                              "--wrong-block 3:9,5:255 --wrong-block 6:0 --hang-up 8,2")
                   .split(u' ')
            << true << Faults([](auto& f) {
                   f.nakFrames = {2, 3, 7}, f.badChecksumFrames = {4, 4}, f.strayByteFrames = {0, 1};
                   f.wrongBlocks = {{3, 9}, {5, 255}, {6, 0}}, f.hangUpFrames = {8, 2};
               });
        QTest::newRow("wrong block without block")
            << QStringList{"--wrong-block", "4"} << false << VirtualRadioFaults{};
        QTest::newRow("wrong block twice for a frame")
            << QStringList{"--wrong-block", "4:1,4:2"} << false << VirtualRadioFaults{};
        QTest::newRow("negative frame in a list")
            << QStringList{"--nak", "2,-1"} << false << VirtualRadioFaults{};
        QTest::newRow("empty list item")
            << QStringList{"--stray-byte", "2,"} << false << VirtualRadioFaults{};
        QTest::newRow("one-value option twice")
            << QStringList{"--silent-from", "2", "--silent-from", "3"} << false << VirtualRadioFaults{};
        QTest::newRow("band too large") << QStringList{"--band", "256"} << false << VirtualRadioFaults{};
        QTest::newRow("identity too long")
            << QStringList{"--identity", "RZ614UVX"} << false << VirtualRadioFaults{};
    }

    void options()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, valid);
        QFETCH(VirtualRadioFaults, faults);
        RadioOptions parsed;
        QString error;
        QCOMPARE(ParseRadioOptions(QStringList{"virtual_radio"} + arguments, parsed, error), valid);
        QCOMPARE(error.isEmpty(), valid);
        if (!valid)
            return;
        QVERIFY(parsed.faults == faults);
    }

    // The program as a script drives it: path on the first line, a block write saved at once,
    // SIGTERM ends it cleanly.
    void program()
    {
        cleanup();
        QTemporaryDir dir;
        const QString save = dir.filePath("saved.bin");
        QProcess process;
        process.start(VIRTUAL_RADIO_PROGRAM, {"--band", "3", "--save", save});
        QVERIFY(process.waitForStarted());
        QTRY_VERIFY(process.canReadLine());
        const QString path = QString::fromLocal8Bit(process.readLine()).trimmed();
        QVERIFY(path.startsWith("/dev/pts/"));

        QSerialPort port(path);
        QVERIFY2(port.open(QIODevice::ReadWrite), qPrintable(port.errorString()));
        port.write(Hex("02"));
        QTRY_COMPARE(port.bytesAvailable(), 16);
        QCOMPARE(uint8_t(port.readAll()[8]), uint8_t(3));
        port.write(BlockFrame(5, QByteArray(32, 'x')));
        QTRY_COMPARE(port.bytesAvailable(), 1);
        QCOMPARE(port.readAll(), Hex("06"));
        QTRY_COMPARE(QFileInfo(save).size(), 256);
        port.close();

        ::kill(pid_t(process.processId()), SIGTERM);
        QVERIFY(process.waitForFinished(5000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        QFile saved(save);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray bytes = saved.readAll();
        QCOMPARE(bytes.mid(160, 32), QByteArray(32, 'x'));
        QCOMPARE(uint8_t(bytes[7]), uint8_t(3));
    }
};

// The functions side by side, the slowest first.
TT_QTEST_GUILESS_MAIN_SIDE_BY_SIDE(TestVirtualRadio, 8, 6, {"replies", 4}, {"blockWrite", 2})
#include "tst_virtualradio.moc"
