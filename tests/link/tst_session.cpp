// Whole read and write sessions over a real pseudo-terminal against the virtual radio.
// The protocol's timing is checked from the radio's own trace of what it received.
#include "data/ModData.h"
#include "data/MsgBox.h"
#include "link/CommLink.h"
#include "link/Frames.h"
#include "link/LinkTrace.h"
#include "link/Port.h"
#include "link/Sequencer.h"
#include "link/WindowHooks.h"
#include "settings/Settings.h"
#include "VirtualRadio.h"

#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QSerialPort>
#include <QTest>

#include <memory>

#include <sys/resource.h>

namespace {
constexpr int16_t RadioPort = 5;

struct Box
{
    QString text;
    MsgIcon icon = MsgIcon::None;
    QString detail;
    qint64 ms = 0; // since the press
};

// Short names of the frames the radio received: P, I, R0..R7, W0..W4, END, or the bytes in hex.
QString FrameName(const VirtualRadioTraceEntry& entry)
{
    const QByteArray& f = entry.frame;
    if (entry.recognised) {
        if (f == Proto::ProgramCommand)
            return QStringLiteral("P");
        if (f == QByteArray(1, char(Proto::IdentRequest)))
            return QStringLiteral("I");
        if (f == Proto::EndCommand)
            return QStringLiteral("END");
        if (f.size() == Proto::ReadRequestSize && f[0] == 'R')
            return QStringLiteral("R%1").arg(uint8_t(f[4]));
        if (f.size() == Proto::BlockFrameSize && f[0] == 'W')
            return QStringLiteral("W%1").arg(uint8_t(f[4]));
    }
    return QStringLiteral("?") + QString::fromLatin1(f.toHex());
}

const QStringList ReadFrames{"P", "I", "R0", "R1", "R2", "R3", "R4", "R5", "R6", "R7", "END"};
const QStringList WriteFrames{"P", "I", "R0", "R1", "R2", "R3", "R4", "W0", "W1", "W2", "W3", "W4", "END"};

QStringList WithRepeat(QStringList frames, int index)
{
    frames.insert(index + 1, frames[index]);
    return frames;
}

qint64 CpuMs()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000;
}

QStringList* capturedTrace = nullptr;
void CaptureTrace(QtMsgType, const QMessageLogContext& context, const QString& message)
{
    if (capturedTrace && QByteArray(context.category) == "tangelo.link")
        capturedTrace->append(message);
}
} // namespace

class TestSession : public QObject
{
    Q_OBJECT

    std::unique_ptr<VirtualRadio> radio;
    std::unique_ptr<CommLink> link;
    std::array<uint8_t, 256> radioImageBefore{};
    QList<Box> boxes;
    QStringList events; // window hooks and message boxes, in order
    QElapsedTimer sincePress;
    QString refusalBox;

    void Press(void (*click)())
    {
        sincePress.start();
        click();
    }

    bool WaitForBoxes(int count, int timeoutMs)
    {
        QElapsedTimer waited;
        waited.start();
        while (boxes.size() < count && waited.elapsed() < timeoutMs)
            QTest::qWait(5);
        return boxes.size() >= count;
    }

    QStringList Frames() const
    {
        QStringList names;
        for (const VirtualRadioTraceEntry& entry : radio->Trace())
            names.append(FrameName(entry));
        return names;
    }

    qint64 FrameGap(int first, int second) const
    {
        const auto trace = radio->Trace();
        return trace.at(second).ms - trace.at(first).ms;
    }

    QStringList BoxTexts() const
    {
        QStringList texts;
        for (const Box& box : boxes)
            texts.append(box.text);
        return texts;
    }

    static QByteArray Bytes(const std::array<uint8_t, 256>& image)
    {
        return QByteArray(reinterpret_cast<const char*>(image.data()), qsizetype(image.size()));
    }

    static void Put(std::array<uint8_t, 256>& image, int offset, const QByteArray& text, int width)
    {
        for (int i = 0; i < width; ++i)
            image[size_t(offset + i)] = i < text.size() ? uint8_t(text[i]) : 0;
    }

private slots:
    void init()
    {
        ResetSession();
        ResetModData();
        boxes.clear();
        events.clear();
        radio = std::make_unique<VirtualRadio>();
        radio->SetDefaultImage();
        radio->SetIdentity("RZ614UV");
        radio->SetBandByte(3);
        radioImageBefore = radio->Image();
        QVERIFY2(radio->OpenPty(), qPrintable(radio->ErrorString()));
        link = std::make_unique<CommLink>();
        link->MSComm1.SetPortResolver([this](int16_t number) {
            return number == RadioPort && radio ? radio->DevicePath() : QString();
        });
        ComPortNumber = RadioPort;
        SetMsgBoxHandler([this](const MsgRequest& request) {
            boxes.append({request.text, request.icon, request.detail, sincePress.elapsed()});
            events.append(request.text);
            return MsgResult::Ok;
        });
        WindowHooks.RadioTypeText = [] { return QStringLiteral("TANGELOUV"); };
        WindowHooks.ShowByData = [this] { events.append(QStringLiteral("ShowByData")); };
        WindowHooks.GetDataByShow = [this] { events.append(QStringLiteral("GetDataByShow")); };
    }

    void cleanup()
    {
        link.reset();
        radio.reset();
        SetMsgBoxHandler({});
        WindowHooks = {};
        ResetSession();
        ComPortNumber = 0;
    }

    void read()
    {
        InfoImage.fill(0x5A); // whatever an earlier session left
        Press(Command1_Click);
        QVERIFY(WaitForBoxes(1, 5000));
        QTest::qWait(100);
        QCOMPARE(events, QStringList({"ShowByData", "Read Complete!"}));
        QCOMPARE(boxes[0].icon, MsgIcon::None);
        QCOMPARE(Frames(), ReadFrames);
        QCOMPARE(Bytes(InfoImage).toHex(' '), Bytes(radio->Image()).toHex(' '));
        QCOMPARE(RadioInfo.Model, QStringLiteral("TANGELOUV"));
        QCOMPARE(RadioInfo.BandIndex, int16_t(3));
        QCOMPARE(TrimText(RadioInfo.Seller), QStringLiteral("Li Wei")); // decoded before it was shown
        QVERIFY(!link->MSComm1.PortOpen());
        QCOMPARE(SessionMode, int16_t(0));
        QVERIFY(!link->WaitTimer.isActive());
    }

    void write()
    {
        InfoImage.fill(0xEE); // stale bytes that must not reach the radio
        int framesBeforeFields = -1;
        WindowHooks.GetDataByShow = [&] {
            framesBeforeFields = int(radio->Trace().size());
            RadioInfo.DealerCode = FixedText(QStringLiteral("D-42"), Width::DealerCode, false);
            RadioInfo.StockDate = FixedText(QStringLiteral("2026-12-01"), Width::StockDate, false);
            RadioInfo.SellDate = FixedText(QStringLiteral("2026-12-07"), Width::SellDate, false);
            RadioInfo.Seller = FixedText(QStringLiteral("Zhang"), Width::Seller, false);
            RadioInfo.ProgramPassword = FixedText(QStringLiteral("4321"), Width::ProgramPassword, false);
            RadioInfo.BandSetting = 1;
            RadioInfo.BandIndex = 5;
            // Fields a write never sends: changing them here must not matter.
            RadioInfo.SerialNumber = FixedText(QStringLiteral("XXXXXXXX"), Width::SerialNumber, false);
            RadioInfo.MaintenanceDescription = FixedText(QStringLiteral("bogus"), 64, false);
        };
        Press(Command2_Click);
        QVERIFY(WaitForBoxes(1, 5000));
        QTest::qWait(100);
        QCOMPARE(BoxTexts(), QStringList{"Write Complete!"});
        QCOMPARE(Frames(), WriteFrames);
        QCOMPARE(framesBeforeFields, 7); // blocks 0 to 4 were read before the fields were taken
        QVERIFY(!link->MSComm1.PortOpen());
        QCOMPARE(SessionMode, int16_t(0));

        std::array<uint8_t, 256> expected = radioImageBefore;
        expected[7] = 5;
        expected[13] = uint8_t(expected[13] | 0x04);
        Put(expected, 60, "4321", 4);
        Put(expected, 80, "D-42", 16);
        Put(expected, 96, "2026-12-01", 16);
        Put(expected, 112, "2026-12-07", 16);
        Put(expected, 128, "Zhang", 16);
        const auto& image = radio->Image();
        for (int i = 0; i < 256; ++i) {
            QVERIFY2(image[size_t(i)] == expected[size_t(i)],
                     qPrintable(QStringLiteral("byte %1 is %2, expected %3")
                                    .arg(i)
                                    .arg(image[size_t(i)], 2, 16, QChar(u'0'))
                                    .arg(expected[size_t(i)], 2, 16, QChar(u'0'))));
        }
        // The maintenance description, of which the write sends the first 16 bytes, is the radio's own.
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(image.data()) + 144, 26),
                 QByteArray("Replaced antenna connector"));
    }

    void silentRadio()
    {
        VirtualRadioFaults faults;
        faults.silentFromFrame = 0;
        radio->SetFaults(faults);
        Press(Command1_Click);
        QVERIFY(WaitForBoxes(1, 8000));
        QCOMPARE(BoxTexts(), QStringList{"Read Failure!"});
        QCOMPARE(Frames(), QStringList({"P", "P", "P"}));
        for (int i = 1; i < 3; ++i) {
            const qint64 gap = FrameGap(i - 1, i);
            QVERIFY2(gap >= 1400 && gap <= 2100, qPrintable(QString::number(gap)));
        }
        QVERIFY2(boxes[0].ms >= 4300 && boxes[0].ms <= 6000, qPrintable(QString::number(boxes[0].ms)));
        QVERIFY(link->MSComm1.PortOpen()); // left open until the next press
        QVERIFY(!AwaitingReply);
        QVERIFY(!link->WaitTimer.isActive());
    }

    // A negative reply is acted on at once where the receive threshold lets a single byte through
    // (frames answered by an acknowledgement). Where a longer reply is awaited, the lone byte stays
    // below the threshold, and the frame goes out again when the wait runs out.
    void negativeReply_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<int>("nakFrame");
        QTest::addColumn<int>("minGap");
        QTest::addColumn<int>("maxGap");
        QTest::newRow("program command") << false << 0 << 0 << 200;
        QTest::newRow("block write") << true << 8 << 0 << 200;
        QTest::newRow("end command") << true << 12 << 0 << 200;
        QTest::newRow("read request") << false << 4 << 250 << 800;
    }
    void negativeReply()
    {
        QFETCH(bool, write);
        QFETCH(int, nakFrame);
        QFETCH(int, minGap);
        QFETCH(int, maxGap);
        VirtualRadioFaults faults;
        faults.nakFrame = nakFrame;
        radio->SetFaults(faults);
        Press(write ? Command2_Click : Command1_Click);
        QVERIFY(WaitForBoxes(1, 5000));
        QCOMPARE(BoxTexts(), QStringList{write ? "Write Complete!" : "Read Complete!"});
        QCOMPARE(Frames(), WithRepeat(write ? WriteFrames : ReadFrames, nakFrame));
        const qint64 gap = FrameGap(nakFrame, nakFrame + 1);
        QVERIFY2(gap >= minGap && gap <= maxGap, qPrintable(QString::number(gap)));
    }

    // Replies that match no shape are dropped; the request goes out again after the wait.
    void droppedReply_data()
    {
        QTest::addColumn<int>("fault");
        QTest::newRow("stray byte") << 0;
        QTest::newRow("bad checksum") << 1;
        QTest::newRow("block number 8") << 2;
        QTest::newRow("block number 255") << 3;
    }
    void droppedReply()
    {
        QFETCH(int, fault);
        constexpr int frame = 3; // the read request for block 1
        VirtualRadioFaults faults;
        if (fault == 0)
            faults.strayByteFrame = frame;
        else if (fault == 1)
            faults.badChecksumFrame = frame;
        else
            faults.wrongBlockFrame = frame;
        faults.wrongBlockNumber = fault == 2 ? 8 : 255;
        radio->SetFaults(faults);
        Press(Command1_Click);
        QVERIFY(WaitForBoxes(1, 5000));
        QCOMPARE(BoxTexts(), QStringList{"Read Complete!"});
        QCOMPARE(Frames(), WithRepeat(ReadFrames, frame));
        const qint64 gap = FrameGap(frame, frame + 1);
        QVERIFY2(gap >= 250 && gap <= 800, qPrintable(QString::number(gap)));
        QCOMPARE(Bytes(InfoImage).toHex(' '), Bytes(radio->Image()).toHex(' '));
    }

    void blockOutOfOrderIsStoredWhereItsNumberSays()
    {
        VirtualRadioFaults faults;
        faults.wrongBlockFrame = 3; // block 1 requested, block 5 answered
        faults.wrongBlockNumber = 5;
        radio->SetFaults(faults);
        InfoImage.fill(0x5A);
        Press(Command1_Click);
        QVERIFY(WaitForBoxes(1, 5000));
        QCOMPARE(BoxTexts(), QStringList{"Read Complete!"});
        QCOMPARE(Frames(), ReadFrames); // moved on, nothing repeated
        const QByteArray image = Bytes(InfoImage);
        const QByteArray radioImage = Bytes(radio->Image());
        QCOMPARE(image.sliced(32, 32), QByteArray(32, char(0x5A))); // block 1 never came
        QCOMPARE(image.first(32), radioImage.first(32));
        QCOMPARE(image.sliced(64), radioImage.sliced(64));
    }

    void endCommandUnanswered()
    {
        VirtualRadioFaults faults;
        faults.ignoreEnd = true;
        radio->SetFaults(faults);
        Press(Command1_Click);
        QVERIFY(WaitForBoxes(1, 5000));
        QCOMPARE(BoxTexts(), QStringList{"Read Complete!"});
        QCOMPARE(Frames(), ReadFrames + QStringList({"END", "END"}));
        for (int i = 11; i < 13; ++i) {
            const qint64 gap = FrameGap(i - 1, i);
            QVERIFY2(gap >= 250 && gap <= 800, qPrintable(QString::number(gap)));
        }
        // The radio's clock started before the press; its first frame came right at the press.
        const qint64 firstEnd = FrameGap(0, 10);
        const qint64 afterEnd = boxes[0].ms - firstEnd;
        QVERIFY2(afterEnd >= 800 && afterEnd <= 1800, qPrintable(QString::number(afterEnd)));
        QVERIFY(!link->MSComm1.PortOpen());
        QCOMPARE(Bytes(InfoImage).toHex(' '), Bytes(radio->Image()).toHex(' '));
    }

    void modelError_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<QByteArray>("identity");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("failure");
        QTest::newRow("write to another type")
            << true << QByteArray("RZ614_V") << "Model Error\r\nPC is TANGELOUV\r\nRadio is TANGELOSV"
            << "Write Failure!";
        QTest::newRow("read of an unknown type")
            << false << QByteArray("RZ614_U") << "Model Error\r\nPC is TANGELOSU\r\nRadio is TANGELOSU"
            << "Read Failure!";
    }
    void modelError()
    {
        QFETCH(bool, write);
        QFETCH(QByteArray, identity);
        QFETCH(QString, message);
        QFETCH(QString, failure);
        radio->SetIdentity(identity);
        Press(write ? Command2_Click : Command1_Click);
        QVERIFY(WaitForBoxes(2, 3000));
        QTest::qWait(700); // nothing more may follow
        QCOMPARE(BoxTexts(), QStringList({message, failure}));
        QCOMPARE(Frames(), QStringList({"P", "I"})); // no block, no end command
        QVERIFY(link->MSComm1.PortOpen());
        QCOMPARE(RadioInfo.BandIndex, int16_t(3));
        QVERIFY(!events.contains(QStringLiteral("GetDataByShow")));
    }

    void portCannotBeOpened_data()
    {
        QTest::addColumn<int>("cause");
        QTest::newRow("device missing") << 0;
        QTest::newRow("no COM port chosen") << 1;
        QTest::newRow("held by another program") << 2;
    }
    void portCannotBeOpened()
    {
        QFETCH(int, cause);
        QSerialPort other;
        if (cause == 0)
            link->MSComm1.SetPortResolver([](int16_t) { return QStringLiteral("/dev/ttyTANGELO-missing"); });
        else if (cause == 1)
            ComPortNumber = 0;
        else {
            other.setPortName(radio->DevicePath());
            QVERIFY(other.open(QIODevice::ReadWrite));
        }
        Press(Command1_Click);
        QTest::qWait(500);
        QCOMPARE(BoxTexts(), QStringList{"Cannot Open Communication Port."});
        QCOMPARE(boxes[0].icon, MsgIcon::Critical);
        QVERIFY(!boxes[0].detail.isEmpty());
        QCOMPARE(SessionMode, int16_t(0));
        QVERIFY(!link->MSComm1.PortOpen());
        QVERIFY(!link->WaitTimer.isActive());
        QCOMPARE(Frames(), QStringList());
    }

    void hangUpMidSession_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<int>("frame");
        QTest::newRow("read") << false << 4;
        QTest::newRow("write") << true << 8;
    }
    void hangUpMidSession()
    {
        QFETCH(bool, write);
        QFETCH(int, frame);
        VirtualRadioFaults faults;
        faults.hangUpAtFrame = frame;
        radio->SetFaults(faults);
        Press(write ? Command2_Click : Command1_Click);
        QVERIFY(WaitForBoxes(1, 3000));
        QCOMPARE(BoxTexts(), QStringList{write ? "Write Failure!" : "Read Failure!"});
        // Ended by the hang-up itself, not by three waits for a reply.
        QVERIFY2(boxes[0].ms < 600, qPrintable(QString::number(boxes[0].ms)));
        QVERIFY(!link->MSComm1.PortOpen());

        const qint64 cpuBefore = CpuMs();
        QElapsedTimer quiet;
        quiet.start();
        QTest::qWait(1000);
        const qint64 cpu = CpuMs() - cpuBefore;
        QVERIFY2(cpu < quiet.elapsed() / 3, qPrintable(QStringLiteral("%1 ms of processor time").arg(cpu)));
        QCOMPARE(boxes.size(), 1);

        // The device is back: the next press works.
        radio->SetFaults({});
        QVERIFY(radio->OpenPty());
        radio->ClearTrace();
        boxes.clear();
        Press(Command1_Click);
        QVERIFY(WaitForBoxes(1, 5000));
        QCOMPARE(BoxTexts(), QStringList{"Read Complete!"});
        QCOMPARE(Frames(), ReadFrames);
    }

    void secondPressAfterFailedSession()
    {
        VirtualRadioFaults faults;
        faults.silentFromFrame = 2; // the first read request goes unanswered
        radio->SetFaults(faults);
        Press(Command1_Click);
        QVERIFY(WaitForBoxes(1, 3000));
        QCOMPARE(BoxTexts(), QStringList{"Read Failure!"});
        QCOMPARE(Frames(), QStringList({"P", "I", "R0", "R0", "R0"}));
        QVERIFY(link->MSComm1.PortOpen());

        radio->SetFaults({});
        radio->ClearTrace();
        boxes.clear();
        events.clear();
        Press(Command1_Click);
        QVERIFY(WaitForBoxes(1, 5000));
        QCOMPARE(events, QStringList({"ShowByData", "Read Complete!"}));
        QCOMPARE(Frames(), ReadFrames);
        QVERIFY(!link->MSComm1.PortOpen());
    }

    void pressDuringSessionStartsAnew()
    {
        VirtualRadioFaults faults;
        faults.silentFromFrame = 3; // the write stalls at its second read request
        radio->SetFaults(faults);
        Press(Command2_Click);
        QTRY_COMPARE(radio->Trace().size(), 4);
        radio->SetFaults({});
        radio->ClearTrace();
        Press(Command1_Click);
        QVERIFY(WaitForBoxes(1, 5000));
        QTest::qWait(1200); // the abandoned write's waits must not come back
        QCOMPARE(BoxTexts(), QStringList{"Read Complete!"});
        QCOMPARE(Frames(), ReadFrames);
    }

    // The band check refuses the write while the window's fields are taken: end command out,
    // port closed, the first block write held back, and the failure after its three waits.
    void refusedWrite()
    {
        WindowHooks.GetDataByShow = [] {
            SessionStep = 0;
            NextStep(-1);
            WaitTimer().stop();
            MsgBox(QStringLiteral("refused"));
            SendEnd();
            SendHalted = true;
            ClosePort();
        };
        Press(Command2_Click);
        QVERIFY(WaitForBoxes(2, 5000));
        QTest::qWait(200);
        QCOMPARE(BoxTexts(), QStringList({"refused", "Write Failure!"}));
        QCOMPARE(Frames(), QStringList({"P", "I", "R0", "R1", "R2", "R3", "R4", "END"}));
        const qint64 afterRefusal = boxes[1].ms - boxes[0].ms;
        QVERIFY2(afterRefusal >= 800 && afterRefusal <= 1800, qPrintable(QString::number(afterRefusal)));
        QVERIFY(!link->MSComm1.PortOpen());
        QVERIFY(SendHalted);
    }

    void traceForSupport()
    {
        if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES"))
            QVERIFY(!lcLink().isDebugEnabled()); // off unless asked for
        QStringList lines;
        capturedTrace = &lines;
        const QtMessageHandler previous = qInstallMessageHandler(CaptureTrace);
        QLoggingCategory::setFilterRules(QStringLiteral("tangelo.link.debug=true"));

        VirtualRadioFaults faults;
        faults.strayByteFrame = 2;
        radio->SetFaults(faults);
        Press(Command1_Click);
        const bool ended = WaitForBoxes(1, 5000);

        QLoggingCategory::setFilterRules(QString());
        qInstallMessageHandler(previous);
        capturedTrace = nullptr;
        QVERIFY(ended);
        const QString all = lines.join(u'\n');
        QVERIFY2(all.contains(QStringLiteral("sent 7 bytes: 50 52 4F 47 52 41 4D")), qPrintable(all));
        QVERIFY2(all.contains(QStringLiteral("received 1 bytes: 06")), qPrintable(all));
        QVERIFY2(all.contains(QStringLiteral("received 39 bytes: 57 08 00 20 00")), qPrintable(all));
        QVERIFY2(all.contains(QStringLiteral("no acceptable reply to transmission 1")), qPrintable(all));
        QVERIFY2(all.contains(QStringLiteral("retransmission 1 of 2")), qPrintable(all));
        QVERIFY2(all.contains(QStringLiteral("sent 3 bytes: 45 4E 44")), qPrintable(all));
        for (const QString& line : lines)
            QVERIFY2(QRegularExpression(QStringLiteral("^ *\\d+ ms ")).match(line).hasMatch(),
                     qPrintable(line));
    }
};

QTEST_GUILESS_MAIN(TestSession)
#include "tst_session.moc"
