// Whole read and write sessions over a real pseudo-terminal against the virtual radio.
// The protocol's timing is checked from the radio's own trace of what it received.
#include "data/ModData.h"
#include "data/MsgBox.h"
#include "link/CommLink.h"
#include "link/LinkTrace.h"
#include "link/Port.h"
#include "link/Sequencer.h"
#include "link/WindowHooks.h"
#include "RadioTrace.h"
#include "settings/Settings.h"
#include "Timing.h"

#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QSerialPort>
#include <QTest>

#include <algorithm>
#include <memory>

namespace {
constexpr int16_t RadioPort = 5;

struct Box
{
    QString text;
    MsgIcon icon = MsgIcon::None;
    QString detail;
    qint64 ms = 0; // since the press
};

QStringList WithRepeat(QStringList frames, int index)
{
    frames.insert(index + 1, frames[index]);
    return frames;
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
    QList<Box> boxes;
    QStringList events; // window hooks and message boxes, in order
    QElapsedTimer sincePress;

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

    // With the radio back to normal and its trace cleared, a read goes through as ever.
    void VerifyNextReadWorks()
    {
        radio->SetFaults({});
        radio->ClearTrace();
        boxes.clear();
        events.clear();
        Press(Command1_Click);
        QVERIFY(WaitForBoxes(1, 5000));
        QTest::qWait(100);
        QCOMPARE(events, QStringList({"ShowByData", "Read Complete!"}));
        QCOMPARE(FrameNames(*radio), ReadFrames);
        QVERIFY(!link->MSComm1.PortOpen());
    }

    static QByteArray Bytes(const RadioImage& image)
    {
        return QByteArray(reinterpret_cast<const char*>(image.data()), qsizetype(image.size()));
    }

    static void Put(RadioImage& image, int offset, const QByteArray& text, int width)
    {
        for (int i = 0; i < width; ++i)
            image[size_t(offset + i)] = i < text.size() ? uint8_t(text[i]) : 0;
    }

    // A write takes these fields from the window (the frames the radio had received by then are
    // kept in framesBeforeFields) ...
    void EditFieldsForWrite()
    {
        WindowHooks.GetDataByShow = [this] {
            framesBeforeFields = int(radio->Trace().size());
            events.append(QStringLiteral("GetDataByShow"));
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
    }

    // ... and the radio that held `before` is to hold this afterwards.
    static RadioImage AfterEditedWrite(RadioImage image)
    {
        image[7] = 5;
        image[13] = uint8_t(image[13] | 0x04);
        Put(image, 60, "4321", 4);
        Put(image, 80, "D-42", 16);
        Put(image, 96, "2026-12-01", 16);
        Put(image, 112, "2026-12-07", 16);
        Put(image, 128, "Zhang", 16);
        return image;
    }

    int framesBeforeFields = -1;

private slots:
    void init()
    {
        ResetSession();
        ResetModData();
        boxes.clear();
        events.clear();
        framesBeforeFields = -1;
        radio = std::make_unique<VirtualRadio>();
        radio->SetDefaultImage();
        radio->SetIdentity("RZ614UV");
        radio->SetBandByte(3);
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
        QCOMPARE(FrameNames(*radio), ReadFrames);
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
        const RadioImage expected = AfterEditedWrite(radio->Image());
        InfoImage.fill(0xEE); // stale bytes that must not reach the radio
        EditFieldsForWrite();
        Press(Command2_Click);
        QVERIFY(WaitForBoxes(1, 5000));
        QTest::qWait(100);
        QCOMPARE(BoxTexts(), QStringList{"Write Complete!"});
        QCOMPARE(FrameNames(*radio), WriteFrames);
        QCOMPARE(framesBeforeFields, 7); // blocks 0 to 4 were read before the fields were taken
        QVERIFY(!link->MSComm1.PortOpen());
        QCOMPARE(SessionMode, int16_t(0));
        const QString diff = ImageDiff(radio->Image(), expected);
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
        // The maintenance description, of which the write sends the first 16 bytes, is the radio's own.
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(radio->Image().data()) + 144, 26),
                 QByteArray("Replaced antenna connector"));
    }

    void silentRadio()
    {
        radio->SetFaults(Faults([](auto& f) { f.silentFromFrame = 0; }));
        Press(Command1_Click);
        QVERIFY(WaitForBoxes(1, 8000));
        QCOMPARE(BoxTexts(), QStringList{"Read Failure!"});
        QCOMPARE(FrameNames(*radio), QStringList({"P", "P", "P"}));
        VERIFY_MS_BETWEEN(FrameGap(0, 1), 1400, 2100);
        VERIFY_MS_BETWEEN(FrameGap(1, 2), 1400, 2100);
        VERIFY_MS_BETWEEN(boxes[0].ms, 4300, 6000);
        QVERIFY(link->MSComm1.PortOpen()); // left open until the next press
        QVERIFY(!AwaitingReply);
        QVERIFY(!link->WaitTimer.isActive());
    }

    // The session gets past a fault by sending one frame again. A negative reply is acted on at once
    // where the receive threshold lets a single byte through (frames answered by an acknowledgement);
    // where a longer reply is awaited the lone byte stays below the threshold, and the frame goes out
    // again when the wait runs out. Replies that match no shape are dropped and also wait it out.
    void frameSentAgain_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<VirtualRadioFaults>("faults");
        QTest::addColumn<bool>("atOnce"); // or after the 300 ms wait
        const auto row = [](const char* name, bool write, const VirtualRadioFaults& faults, bool atOnce) {
            QTest::newRow(name) << write << faults << atOnce;
        };
        row("nak: program command", false, Faults([](auto& f) { f.nakFrame = 0; }), true);
        row("nak: block write", true, Faults([](auto& f) { f.nakFrame = 8; }), true);
        row("nak: end command", true, Faults([](auto& f) { f.nakFrame = 12; }), true);
        row("nak: read request", false, Faults([](auto& f) { f.nakFrame = 4; }), false);
        // Frame 3 is the read request for block 1.
        row("stray byte", false, Faults([](auto& f) { f.strayByteFrame = 3; }), false);
        row("bad checksum", false, Faults([](auto& f) { f.badChecksumFrame = 3; }), false);
        row("block number 8", false, Faults([](auto& f) { f.wrongBlockFrame = 3, f.wrongBlockNumber = 8; }),
            false);
        row("block number 255", false,
            Faults([](auto& f) { f.wrongBlockFrame = 3, f.wrongBlockNumber = 255; }), false);
        // Frame 4 is the read request for block 2, in a read and in a write; frame 6 a write's for block 4.
        row("read: block 5 for block 2", false,
            Faults([](auto& f) { f.wrongBlockFrame = 4, f.wrongBlockNumber = 5; }), false);
        row("write: block 5 for block 2", true,
            Faults([](auto& f) { f.wrongBlockFrame = 4, f.wrongBlockNumber = 5; }), false);
        row("write: block 0 for block 4", true,
            Faults([](auto& f) { f.wrongBlockFrame = 6, f.wrongBlockNumber = 0; }), false);
    }
    void frameSentAgain()
    {
        QFETCH(bool, write);
        QFETCH(VirtualRadioFaults, faults);
        QFETCH(bool, atOnce);
        const int frame = std::max({faults.nakFrame, faults.strayByteFrame, faults.badChecksumFrame,
                                    faults.wrongBlockFrame}); // the one faulty reply
        radio->SetFaults(faults);
        const RadioImage expected = write ? AfterEditedWrite(radio->Image()) : radio->Image();
        InfoImage.fill(0x5A); // whatever an earlier session left
        EditFieldsForWrite();
        Press(write ? Command2_Click : Command1_Click);
        QVERIFY(WaitForBoxes(1, 5000));
        QCOMPARE(BoxTexts(), QStringList{write ? "Write Complete!" : "Read Complete!"});
        QCOMPARE(FrameNames(*radio), WithRepeat(write ? WriteFrames : ReadFrames, frame));
        if (atOnce)
            VERIFY_MS_BETWEEN(FrameGap(frame, frame + 1), 0, 200);
        else
            VERIFY_MS_BETWEEN(FrameGap(frame, frame + 1), 250, 800);
        const QString diff = ImageDiff(write ? radio->Image() : InfoImage, expected);
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
    }

    // A radio that answers a little late answers every frame twice, once for each transmission, and
    // the second answer comes while the next frame is awaited. The session then completes with
    // exactly the radio's bytes (a read) or exactly the intended image in the radio (a write), or it
    // fails; it never completes with other bytes.
    void lateReplies_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<int>("delayMs");
        for (const int delay : {280, 320, 400, 450}) {
            QTest::addRow("read, %d ms", delay) << false << delay;
            QTest::addRow("write, %d ms", delay) << true << delay;
        }
    }
    void lateReplies()
    {
        QFETCH(bool, write);
        QFETCH(int, delayMs);
        VirtualRadioFaults faults;
        faults.replyDelayMs = delayMs;
        radio->SetFaults(faults);
        const RadioImage before = radio->Image();
        InfoImage.fill(0x5A);
        EditFieldsForWrite();
        Press(write ? Command2_Click : Command1_Click);
        QVERIFY(WaitForBoxes(1, 20000));
        QTest::qWait(100);
        QCOMPARE(boxes.size(), 1);
        const QString ending = boxes[0].text;
        if (ending == QLatin1String(write ? "Write Failure!" : "Read Failure!"))
            return;
        QCOMPARE(ending, QString::fromLatin1(write ? "Write Complete!" : "Read Complete!"));
        const QString diff =
            write ? ImageDiff(radio->Image(), AfterEditedWrite(before)) : ImageDiff(InfoImage, before);
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
    }

    void endCommandUnanswered()
    {
        radio->SetFaults(Faults([](auto& f) { f.ignoreEnd = true; }));
        Press(Command1_Click);
        QVERIFY(WaitForBoxes(1, 5000));
        QCOMPARE(BoxTexts(), QStringList{"Read Complete!"});
        QCOMPARE(FrameNames(*radio), ReadFrames + QStringList({"END", "END"}));
        VERIFY_MS_BETWEEN(FrameGap(10, 11), 250, 800);
        VERIFY_MS_BETWEEN(FrameGap(11, 12), 250, 800);
        // The radio's clock started before the press; its first frame came right at the press.
        VERIFY_MS_BETWEEN(boxes[0].ms - FrameGap(0, 10), 800, 1800);
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
        QCOMPARE(FrameNames(*radio), QStringList({"P", "I"})); // no block, no end command
        QVERIFY(link->MSComm1.PortOpen());
        QCOMPARE(RadioInfo.BandIndex, int16_t(3));
        QVERIFY(!events.contains(QStringLiteral("GetDataByShow")));
    }

    // Every reason the serial control gives takes the same path here; the radio's device held by
    // another program is the one where "nothing sent" means something.
    void portCannotBeOpened()
    {
        QSerialPort other(radio->DevicePath());
        QVERIFY(other.open(QIODevice::ReadWrite));
        Press(Command1_Click);
        QTest::qWait(500);
        QCOMPARE(BoxTexts(), QStringList{"Cannot Open Communication Port."});
        QCOMPARE(boxes[0].icon, MsgIcon::Critical);
        QVERIFY(!boxes[0].detail.isEmpty());
        QCOMPARE(SessionMode, int16_t(0));
        QVERIFY(!link->MSComm1.PortOpen());
        QVERIFY(!link->WaitTimer.isActive());
        QCOMPARE(FrameNames(*radio), QStringList());
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
        VERIFY_MS_BETWEEN(boxes[0].ms, 0, 600);
        QVERIFY(!link->MSComm1.PortOpen());
        const qint64 cpu = CpuMsDuringWait(1000);
        QVERIFY2(cpu < 1000 / 3, qPrintable(QStringLiteral("%1 ms of processor time").arg(cpu)));
        QCOMPARE(boxes.size(), 1);

        QVERIFY(radio->OpenPty()); // the device is back
        VerifyNextReadWorks();
    }

    void secondPressAfterFailedSession()
    {
        radio->SetFaults(Faults([](auto& f) { f.silentFromFrame = 2; })); // the first read request
        Press(Command1_Click);
        QVERIFY(WaitForBoxes(1, 3000));
        QCOMPARE(BoxTexts(), QStringList{"Read Failure!"});
        QCOMPARE(FrameNames(*radio), QStringList({"P", "I", "R0", "R0", "R0"}));
        QVERIFY(link->MSComm1.PortOpen());
        VerifyNextReadWorks();
    }

    void pressDuringSessionStartsAnew()
    {
        radio->SetFaults(Faults([](auto& f) { f.silentFromFrame = 3; })); // the write's second read request
        Press(Command2_Click);
        QTRY_COMPARE(radio->Trace().size(), 4);
        VerifyNextReadWorks();
        QTest::qWait(1200); // the abandoned write's waits must not come back
        QCOMPARE(BoxTexts(), QStringList{"Read Complete!"});
        QCOMPARE(FrameNames(*radio), ReadFrames);
    }

    void traceForSupport()
    {
        if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES"))
            QVERIFY(!lcLink().isDebugEnabled()); // off unless asked for
        QStringList lines;
        capturedTrace = &lines;
        const QtMessageHandler previous = qInstallMessageHandler(CaptureTrace);
        QLoggingCategory::setFilterRules(QStringLiteral("tangelo.link.debug=true"));

        radio->SetFaults(Faults([](auto& f) { f.strayByteFrame = 2; }));
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
