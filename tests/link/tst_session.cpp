// Whole read and write sessions over a real pseudo-terminal against the virtual radio, with short
// reply waits. The protocol's timing is checked from the radio's own trace of what it received; one
// test checks the default waits in real time.
#include "data/ImageFields.h"
#include "DefaultImage.h"
#include "link/RadioSession.h"
#include "link/SessionMessages.h"
#include "OtherLanguage.h"
#include "RadioReplies.h"
#include "RadioTrace.h"
#include "SideBySide.h"
#include "system/ProgramTranslations.h"
#include "system/SystemLanguage.h"
#include "Timing.h"
#include "TraceCapture.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <memory>
#include <optional>
#include <string_view>

using namespace std::chrono_literals;

namespace {
constexpr int16_t RadioPort = 5;
// Short enough to keep the failures quick, long enough for a loaded machine to answer in time.
constexpr LinkTimings ShortWaits{400ms, 150ms};
constexpr int ShortMs = 150;
// The wait that the late replies of lateReplies miss; whether a reply is late is all that counts there.
constexpr int LateWaitMs = 40;
// Waits for the stray replies, which come StrayLeadMs ahead of a reply that comes at once.
constexpr LinkTimings StrayWaits{240ms, 80ms};
// Where only the words of a failure count: the radio here answers the program command as quickly as
// any other frame, so its wait need be no longer. And for a radio silent from the first frame, whose
// waits all run out whatever their length.
constexpr LinkTimings WordsWaits{120ms, 120ms};
constexpr LinkTimings SilentWaits{40ms, 40ms};

QStringList WithRepeat(QStringList frames, int index)
{
    frames.insert(index + 1, frames[index]);
    return frames;
}

QByteArray Bytes(const RadioImage& image)
{
    return QByteArray(reinterpret_cast<const char*>(image.data()), qsizetype(image.size()));
}

void Put(RadioImage& image, int offset, const QByteArray& text, int width)
{
    for (int i = 0; i < width; ++i)
        image[size_t(offset + i)] = i < text.size() ? uint8_t(text[i]) : 0;
}

// The fields a write takes from its owner ...
WriteDecision EditedFields(const RadioInfoRecord& radio)
{
    RadioInfoRecord fields = radio;
    fields.DealerCode = FixedText(QStringLiteral("D-42"), Width::DealerCode, false);
    fields.StockDate = FixedText(QStringLiteral("2026-12-01"), Width::StockDate, false);
    fields.SellDate = FixedText(QStringLiteral("2026-12-07"), Width::SellDate, false);
    fields.Seller = FixedText(QStringLiteral("Zhang"), Width::Seller, false);
    fields.ProgramPassword = FixedText(QStringLiteral("4321"), Width::ProgramPassword, false);
    fields.BandSetting = 1;
    fields.BandIndex = 5;
    // Fields a write never sends: changing them here must not matter.
    fields.SerialNumber = FixedText(QStringLiteral("XXXXXXXX"), Width::SerialNumber, false);
    fields.MaintenanceDescription = FixedText(QStringLiteral("bogus"), 64, false);
    return {false, fields, TextFieldSet::All()};
}

// ... and the radio that held `image` is to hold this afterwards.
RadioImage AfterEditedWrite(RadioImage image)
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

// A reply wait as the radio sees it: the gaps between its receipts of one frame's transmissions.
// Each gap is the wait plus the lateness of the timer and of the radio's receipt of the later
// transmission, less that of the earlier one; under load one receipt can come late by a good part of
// the short wait, shortening one gap and lengthening the next. So the longest gap is held to the
// floor and the shortest to the ceiling.
void VerifyWait(const QList<qint64>& gaps, int waitMs)
{
    const auto [shortest, longest] = std::minmax_element(gaps.begin(), gaps.end());
    VERIFY_MS_BETWEEN(*longest, waitMs * 2 / 3, 3 * waitMs);
    VERIFY_MS_BETWEEN(*shortest, 0, waitMs * 3 / 2);
}

QString ResultName(SessionResult result)
{
    switch (result) {
    case SessionResult::Complete:
        return QStringLiteral("Complete");
    case SessionResult::Failure:
        return QStringLiteral("Failure");
    case SessionResult::ModelError:
        return QStringLiteral("ModelError");
    case SessionResult::CannotOpen:
        return QStringLiteral("CannotOpen");
    case SessionResult::Refused:
        return QStringLiteral("Refused");
    }
    return {};
}

// A session on its own virtual radio, and what the session reported, in order.
struct RadioAndSession
{
    std::unique_ptr<VirtualRadio> radio;
    std::unique_ptr<RadioSession> session;
    QList<SessionOutcome> outcomes;
    QList<qint64> endMs; // since the press, per outcome
    QStringList events;  // "recordRead", "question" and the outcomes' results, in order
    QElapsedTimer sincePress;

    bool Start(const QByteArray& identity, uint8_t band, LinkTimings timings)
    {
        radio = std::make_unique<VirtualRadio>();
        radio->SetDefaultImage();
        radio->SetIdentity(identity);
        radio->SetBandByte(band);
        if (!radio->OpenPty())
            return false;
        session = std::make_unique<RadioSession>(nullptr, timings);
        session->SetPortResolver([this](int16_t number) {
            return number == RadioPort && radio ? radio->DevicePath() : QString();
        });
        session->SetCodePage(AnsiCodePage("windows-1252"));
        QObject::connect(session.get(), &RadioSession::recordRead, [this] { events << "recordRead"; });
        QObject::connect(session.get(), &RadioSession::finished, [this](const SessionOutcome& outcome) {
            outcomes << outcome;
            endMs << sincePress.elapsed();
            events << ResultName(outcome.Result);
        });
        return true;
    }

    void Press(bool write, const QString& radioType = QStringLiteral("TANGELOUV"))
    {
        sincePress.start();
        if (write)
            session->startWrite(RadioPort, radioType);
        else
            session->startRead(RadioPort);
    }

    // Runs the event loop until `count` outcomes have come, waking at each one rather than polling.
    bool WaitForEnd(int count, int timeoutMs) const
    {
        const QDeadlineTimer deadline(timeoutMs);
        while (outcomes.size() < count && !deadline.hasExpired()) {
            QSignalSpy finished(session.get(), &RadioSession::finished);
            finished.wait(int(std::max<qint64>(1, deadline.remainingTime())));
        }
        return outcomes.size() >= count;
    }

    qint64 FrameGap(int first, int second) const
    {
        const auto trace = radio->Trace();
        return trace.at(second).ms - trace.at(first).ms;
    }

    void Clear()
    {
        radio->ClearTrace();
        outcomes.clear();
        endMs.clear();
        events.clear();
    }
};

} // namespace

class TestSession : public QObject
{
    Q_OBJECT

    RadioAndSession one;

    VirtualRadio& Radio() { return *one.radio; }
    RadioSession& Session() { return *one.session; }

    // With the radio back to normal and its trace cleared, a read goes through as ever.
    void VerifyNextReadWorks()
    {
        Radio().SetFaults({});
        one.Clear();
        one.Press(false);
        QVERIFY(one.WaitForEnd(1, 5000));
        QTest::qWait(50);
        QCOMPARE(one.events, QStringList({"recordRead", "Complete"}));
        QCOMPARE(FrameNames(Radio()), ReadFrames);
        QVERIFY(!Session().MSComm1.PortOpen());
    }

private slots:
    void init() { QVERIFY(one.Start("RZ614UV", 3, ShortWaits)); }

    void cleanup()
    {
        one.session.reset();
        one.radio.reset();
        one.outcomes.clear();
        one.endMs.clear();
        one.events.clear();
    }

    void read()
    {
        one.Press(false);
        QVERIFY(one.WaitForEnd(1, 5000));
        QTest::qWait(50);
        QCOMPARE(one.events, QStringList({"recordRead", "Complete"}));
        QCOMPARE(one.outcomes[0].Mode, SessionMode::Read);
        QCOMPARE(FrameNames(Radio()), ReadFrames);
        QCOMPARE(Bytes(Session().InfoImage()).toHex(' '), Bytes(Radio().Image()).toHex(' '));
        QCOMPARE(Session().RadioInfo().Model, QStringLiteral("TANGELOUV"));
        QCOMPARE(Session().RadioInfo().BandIndex, int16_t(3));
        QCOMPARE(TrimText(Session().RadioInfo().Seller), QStringLiteral("Li Wei")); // decoded before reported
        QVERIFY(!Session().MSComm1.PortOpen());
        QCOMPARE(Session().Mode(), SessionMode::None);
        QVERIFY(!Session().WaitTimer.isActive());
    }

    void write()
    {
        const RadioImage expected = AfterEditedWrite(Radio().Image());
        int framesBeforeFields = -1;
        Session().SetWriteFieldsQuestion([&](const RadioInfoRecord& radio, const InfoImageType& image) {
            one.events << "question";
            framesBeforeFields = int(Radio().Trace().size());
            // The radio's blocks 0 to 4 as just read, and its band from the identity reply.
            const QByteArray read = Bytes(image).first(160);
            [&] { QCOMPARE(read, Bytes(Radio().Image()).first(160)); }();
            [&] { QCOMPARE(radio.BandIndex, int16_t(3)); }();
            [&] { QVERIFY(!Session().WaitTimer.isActive() && !Session().Awaiting()); }();
            return EditedFields(radio);
        });
        one.Press(true);
        QVERIFY(one.WaitForEnd(1, 5000));
        QTest::qWait(50);
        QCOMPARE(one.events, QStringList({"question", "Complete"}));
        QCOMPARE(one.outcomes[0].Mode, SessionMode::Write);
        QCOMPARE(FrameNames(Radio()), WriteFrames);
        QCOMPARE(framesBeforeFields, 7); // blocks 0 to 4 were read before the fields were taken
        QVERIFY(!Session().MSComm1.PortOpen());
        QCOMPARE(Session().Mode(), SessionMode::None);
        const QString diff = ImageDiff(Radio().Image(), expected);
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
    }

    // The read-back after the block writes: a block that reads back otherwise is written and read back
    // again, twice at most; one that still differs fails the write, which names the fields the radio
    // did not take and the backup of the radio as it was. The end command goes out and the port
    // closes either way, and the trace tells the read-back's result.
    void readBack_data()
    {
        QTest::addColumn<VirtualRadioFaults>("faults");
        QTest::addColumn<QStringList>("after"); // the frames after the reads before the write
        QTest::addColumn<QStringList>("notTaken");
        QTest::addColumn<QString>("named"); // the fields not taken as the failure names them
        const auto unkept = [](QMap<int, int> counts) {
            VirtualRadioFaults faults;
            for (auto it = counts.cbegin(); it != counts.cend(); ++it)
                faults.blockWriteFaults[it.key()] = {BlockWriteFault::Unkept, it.value()};
            return faults;
        };
        const QStringList written{"W0", "W1", "W2", "W3", "W4", "R0", "R1", "R2", "R3", "R4"};
        QTest::newRow("all kept") << VirtualRadioFaults{} << written + QStringList{"END"} << QStringList{}
                                  << QString();
        QTest::newRow("block 2 not kept once")
            << unkept({{2, 1}}) << written + QStringList{"W2", "R2", "END"} << QStringList{} << QString();
        QTest::newRow("block 2 not kept twice")
            << unkept({{2, 2}}) << written + QStringList{"W2", "R2", "W2", "R2", "END"} << QStringList{}
            << QString();
        QTest::newRow("block 2 never kept")
            << unkept({{2, 99}}) << written + QStringList{"W2", "R2", "W2", "R2", "END"}
            << QStringList{"the dealer code"} << "the dealer code";
        // An acknowledgement names no frame: a repeated one (the late answer to block 1's second
        // transmission, say) is taken for block 2's, whose write the radio lost or refused.
        VirtualRadioFaults repeatedAck;
        repeatedAck.strayReplies[9] = QByteArray(1, char(Proto::Ack));
        repeatedAck.blockWriteFaults[2] = {BlockWriteFault::Lost, 1};
        QTest::newRow("repeated ack, block 2 lost")
            << repeatedAck << written + QStringList{"W2", "R2", "END"} << QStringList{} << QString();
        repeatedAck.blockWriteFaults[2] = {BlockWriteFault::Refused, 1};
        QTest::newRow("repeated ack, block 2 refused")
            << repeatedAck << QStringList{"W0", "W1", "W2", "W3", "W3", "W4", "R0",
                                          "R1", "R2", "R3", "R4", "W2", "R2", "END"}
            << QStringList{} << QString();
        QTest::newRow("blocks 0 and 4 never kept, 3 once")
            << unkept({{0, 99}, {3, 1}, {4, 99}})
            << written + QStringList{"W0", "W3", "W4", "R0", "R3", "R4", "W0", "W4", "R0", "R4", "END"}
            << QStringList{"the band", "the band setting", "the seller"}
            << "the band, the band setting, and the seller";
    }
    void readBack()
    {
        QFETCH(VirtualRadioFaults, faults);
        QFETCH(QStringList, after);
        QFETCH(QStringList, notTaken);
        QFETCH(QString, named);
        Radio().SetFaults(faults);
        const RadioImage before = Radio().Image();
        const RadioImage intended = AfterEditedWrite(before);
        Session().SetWriteFieldsQuestion(
            [](const RadioInfoRecord& radio, const InfoImageType&) { return EditedFields(radio); });
        const QString backup = QStringLiteral("/backups/TG000 2026-12-09 101112.json");
        Session().SetBackupWriter(
            [&](const RadioInfoRecord&, const InfoImageType&) {
                return BackupFileResult{backup, {}};
            },
            true);
        const TraceCapture trace;
        one.Press(true);
        QVERIFY(one.WaitForEnd(1, 5000));
        QTest::qWait(50);
        QCOMPARE(FrameNames(Radio()), WriteFrames.first(7) + after);
        QVERIFY(!Session().MSComm1.PortOpen());
        const SessionOutcome& outcome = one.outcomes[0];
        QCOMPARE(outcome.FieldsNotTaken, notTaken);
        if (notTaken.isEmpty()) {
            QCOMPARE(one.events, QStringList{"Complete"});
            const QString diff = ImageDiff(Radio().Image(), intended);
            QVERIFY2(diff.isEmpty(), qPrintable(diff));
            QVERIFY2(trace.Contains(QStringLiteral("read back: every block as written")),
                     qPrintable(trace.All()));
            return;
        }
        QCOMPARE(one.events, QStringList{"Failure"});
        // The blocks the radio never took hold what they held, the others what was written.
        RadioImage expected = intended;
        for (auto it = faults.blockWriteFaults.cbegin(); it != faults.blockWriteFaults.cend(); ++it)
            if (it->count > 2)
                std::copy_n(before.begin() + it.key() * 32, 32, expected.begin() + it.key() * 32);
        const QString diff = ImageDiff(Radio().Image(), expected);
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
        const QString detail = OutcomeDetail(outcome);
        QVERIFY2(detail.contains(QStringLiteral("did not take %1:").arg(named)), qPrintable(detail));
        QVERIFY2(detail.contains(backup), qPrintable(detail));
        QVERIFY2(trace.Contains(QStringLiteral("still otherwise than written; the write failed")),
                 qPrintable(trace.All()));
    }

    // The owner refuses the write: the end command goes out, the port closes, no block is written, and
    // the session ends as refused after the held-back block write's three waits.
    void refusedWrite()
    {
        const auto before = Radio().Image();
        int asked = 0;
        Session().SetWriteFieldsQuestion([&](const RadioInfoRecord& radio, const InfoImageType&) {
            ++asked;
            return WriteDecision{true, radio};
        });
        one.Press(true);
        QVERIFY(one.WaitForEnd(1, 5000));
        QTest::qWait(2 * ShortMs);
        QCOMPARE(asked, 1);
        QCOMPARE(one.events, QStringList{"Refused"});
        QCOMPARE(one.outcomes[0].Mode, SessionMode::Write);
        QCOMPARE(FrameNames(Radio()), QStringList({"P", "I", "R0", "R1", "R2", "R3", "R4", "END"}));
        VERIFY_MS_BETWEEN(one.endMs[0] - one.FrameGap(0, 7), 3 * ShortMs - 50, 3 * ShortMs + 900);
        QVERIFY(!Session().MSComm1.PortOpen());
        QVERIFY(!Session().WaitTimer.isActive());
        QCOMPARE(Bytes(Radio().Image()), Bytes(before));
    }

    // The default waits, in real time, from the radio's receive times: 1500 ms after the program
    // command; 300 ms after any other frame, three transmissions, then the failure. The port stays open
    // after the failure.
    void defaultWaits()
    {
        Session().SetTimings({});
        Radio().SetFaults(Faults([](auto& f) { f.silentFromFrame = 0; }));
        one.Press(false);
        QTRY_COMPARE_WITH_TIMEOUT(Radio().Trace().size(), 2, 3000);
        QCOMPARE(FrameNames(Radio()), QStringList({"P", "P"}));
        VerifyWait({one.FrameGap(0, 1)}, 1500);

        one.Clear();
        Radio().SetFaults(Faults([](auto& f) { f.silentFromFrame = 2; })); // the first read request
        one.Press(false);
        QVERIFY(one.WaitForEnd(1, 3000));
        QCOMPARE(one.events, QStringList{"Failure"});
        QCOMPARE(FrameNames(Radio()), QStringList({"P", "I", "R0", "R0", "R0"}));
        VerifyWait({one.FrameGap(2, 3), one.FrameGap(3, 4)}, 300);
        const SessionOutcome& outcome = one.outcomes[0];
        QCOMPARE(outcome.Step, SessionStep::Block0);
        QCOMPARE(outcome.Frame.toHex(), QByteArray("5208002000"));
        QCOMPARE(outcome.Tries, int16_t(3));
        QCOMPARE(outcome.ComPort, RadioPort);
        QCOMPARE(outcome.Device, Radio().DevicePath());
        QVERIFY(Session().MSComm1.PortOpen()); // left open until the next press
        QVERIFY(!Session().Awaiting());
        QVERIFY(!Session().WaitTimer.isActive());
    }

    // A reply that arrives alone while a frame awaits another kind of reply (a stray one, or one
    // repeated for an earlier frame) is dropped and the wait goes on; a negative reply repeats the
    // awaited frame. The session completes with exactly the radio's bytes and band (a read), or
    // exactly the intended image in the radio and the band written (a write).
    void strayReplies_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<int>("frame"); // the frame whose own reply the stray one goes ahead of
        QTest::addColumn<QByteArray>("stray");
        const RadioReplies::Image image = MakeDefaultImage();
        const QList<std::pair<const char*, QByteArray>> strays{
            {"ack", QByteArray(1, char(Proto::Ack))},
            {"nak", QByteArray(1, char(Proto::Nak))},
            {"identity reply", RadioReplies::IdentReply("RZ614UV", 9)}, // another band
            {"block 1 reply", RadioReplies::BlockReply(image, 1, 1)},
        };
        // Frames by their index at the radio: a read's, then a write's own.
        const QList<std::tuple<bool, int, const char*>> awaited{
            {false, 0, "program command"}, {false, 1, "identity request"}, {false, 4, "read of block 2"},
            {false, 10, "end command"},    {true, 9, "block write 2"},     {true, 14, "read-back of block 2"},
            {true, 17, "end command"},
        };
        for (const auto& [write, frame, frameName] : awaited)
            for (const auto& [strayName, stray] : strays)
                QTest::addRow("%s: %s while the %s awaits its reply", write ? "write" : "read", strayName,
                              frameName)
                    << write << frame << stray;
    }
    void strayReplies()
    {
        QFETCH(bool, write);
        QFETCH(int, frame);
        QFETCH(QByteArray, stray);
        VirtualRadioFaults faults;
        faults.strayReplies[frame] = stray;
        Radio().SetFaults(faults);
        Session().SetTimings(StrayWaits);
        const RadioImage before = Radio().Image();
        Session().SetWriteFieldsQuestion(
            [](const RadioInfoRecord& radio, const InfoImageType&) { return EditedFields(radio); });
        one.Press(write);
        QVERIFY(one.WaitForEnd(1, 5000));
        QTest::qWait(VirtualRadio::StrayLeadMs + 20); // nothing more may follow
        QCOMPARE(one.events.last(), QStringLiteral("Complete"));
        QCOMPARE(one.outcomes.size(), 1);
        const QString diff = write ? ImageDiff(Radio().Image(), AfterEditedWrite(before))
                                   : ImageDiff(Session().InfoImage(), before);
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
        QCOMPARE(Session().RadioInfo().BandIndex, int16_t(write ? 5 : 3));
        QCOMPARE(Session().RadioInfo().Model, QStringLiteral("TANGELOUV"));
    }

    // The session gets past a fault by sending one frame again. A negative reply is acted on at once
    // where the receive threshold lets a single byte through (frames answered by an acknowledgement);
    // where a longer reply is awaited the lone byte stays below the threshold, and the frame goes out
    // again when the wait runs out. Replies that match no shape are dropped and also wait it out.
    void frameSentAgain_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<VirtualRadioFaults>("faults");
        QTest::addColumn<bool>("atOnce"); // or after the short wait
        const auto row = [](const char* name, bool write, const VirtualRadioFaults& faults, bool atOnce) {
            QTest::newRow(name) << write << faults << atOnce;
        };
        row("nak: program command", false, Faults([](auto& f) { f.nakFrames = {0}; }), true);
        row("nak: block write", true, Faults([](auto& f) { f.nakFrames = {8}; }), true);
        row("nak: end command", true, Faults([](auto& f) { f.nakFrames = {17}; }), true);
        row("nak: read request", false, Faults([](auto& f) { f.nakFrames = {4}; }), false);
        // Frame 3 is the read request for block 1.
        row("stray byte", false, Faults([](auto& f) { f.strayByteFrames = {3}; }), false);
        row("bad checksum", false, Faults([](auto& f) { f.badChecksumFrames = {3}; }), false);
        row("block number 8", false, Faults([](auto& f) { f.wrongBlocks = {{3, 8}}; }), false);
        row("block number 255", false, Faults([](auto& f) { f.wrongBlocks = {{3, 255}}; }), false);
        // Frame 4 is the read request for block 2, in a read and in a write; frame 6 a write's for block 4.
        row("read: block 5 for block 2", false, Faults([](auto& f) { f.wrongBlocks = {{4, 5}}; }), false);
        row("write: block 5 for block 2", true, Faults([](auto& f) { f.wrongBlocks = {{4, 5}}; }), false);
        row("write: block 0 for block 4", true, Faults([](auto& f) { f.wrongBlocks = {{6, 0}}; }), false);
    }
    void frameSentAgain()
    {
        QFETCH(bool, write);
        QFETCH(VirtualRadioFaults, faults);
        QFETCH(bool, atOnce);
        // The frame whose reply is faulty.
        const int frame =
            (faults.nakFrames + faults.strayByteFrames + faults.badChecksumFrames + faults.wrongBlocks.keys())
                .first();
        Radio().SetFaults(faults);
        const RadioImage expected = write ? AfterEditedWrite(Radio().Image()) : Radio().Image();
        Session().SetWriteFieldsQuestion(
            [](const RadioInfoRecord& radio, const InfoImageType&) { return EditedFields(radio); });
        one.Press(write);
        QVERIFY(one.WaitForEnd(1, 5000));
        QCOMPARE(one.events.last(), QStringLiteral("Complete"));
        QCOMPARE(FrameNames(Radio()), WithRepeat(write ? WriteFrames : ReadFrames, frame));
        if (atOnce)
            VERIFY_MS_BETWEEN(one.FrameGap(frame, frame + 1), 0, ShortMs / 2);
        else
            VERIFY_MS_BETWEEN(one.FrameGap(frame, frame + 1), ShortMs - 50, ShortMs + 500);
        const QString diff = ImageDiff(write ? Radio().Image() : Session().InfoImage(), expected);
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
    }

    // A frame that gets no reply goes out three times, one reply wait apart, and the session ends
    // one more wait after the last: as a failure that leaves the port open for the next press, or,
    // for the end command, as completed. The waits are taken from the radio's receipts.
    void unansweredFrame_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<VirtualRadioFaults>("faults");
        QTest::addColumn<QStringList>("frames");
        QTest::addColumn<int>("waitMs");
        QTest::addColumn<QString>("ending");
        const auto silentFrom = [](int frame) {
            VirtualRadioFaults faults;
            faults.silentFromFrame = frame;
            return faults;
        };
        const int longMs = int(ShortWaits.LongWait.count());
        QTest::newRow("program command")
            << false << silentFrom(0) << QStringList({"P", "P", "P"}) << longMs << "Failure";
        QTest::newRow("identity request")
            << false << silentFrom(1) << QStringList({"P", "I", "I", "I"}) << ShortMs << "Failure";
        QTest::newRow("read request")
            << false << silentFrom(2) << QStringList({"P", "I", "R0", "R0", "R0"}) << ShortMs << "Failure";
        QTest::newRow("block write") << true << silentFrom(7)
                                     << WriteFrames.first(8) + QStringList({"W0", "W0"}) << ShortMs
                                     << "Failure";
        QTest::newRow("read-back request")
            << true << silentFrom(12) << WriteFrames.first(13) + QStringList({"R0", "R0"}) << ShortMs
            << "Failure";
        QTest::newRow("end command") << false << Faults([](auto& f) { f.ignoreEnd = true; })
                                     << ReadFrames + QStringList({"END", "END"}) << ShortMs << "Complete";
    }
    void unansweredFrame()
    {
        QFETCH(bool, write);
        QFETCH(VirtualRadioFaults, faults);
        QFETCH(QStringList, frames);
        QFETCH(int, waitMs);
        QFETCH(QString, ending);
        Radio().SetFaults(faults);
        const QString backup = QStringLiteral("/backups/TG000 2026-12-09 101112.json");
        Session().SetBackupWriter(
            [&](const RadioInfoRecord&, const InfoImageType&) {
                return BackupFileResult{backup, {}};
            },
            true);
        qint64 lastReceived = 0; // on the test's clock, for the wait that ends the session
        const QObject receipts;  // ends the connection with this function
        connect(one.radio.get(), &VirtualRadio::TraceAdded, &receipts,
                [&] { lastReceived = one.sincePress.elapsed(); });
        one.Press(write);
        QVERIFY(one.WaitForEnd(1, 4 * waitMs + 5000));
        QCOMPARE(one.events.last(), ending);
        QCOMPARE(FrameNames(Radio()), frames);
        const qsizetype last = frames.size() - 1;
        VerifyWait({one.FrameGap(int(last) - 2, int(last) - 1), one.FrameGap(int(last) - 1, int(last))},
                   waitMs);
        VERIFY_MS_BETWEEN(one.endMs[0] - lastReceived, waitMs / 3, 3 * waitMs); // one wait more

        QCOMPARE(Session().MSComm1.PortOpen(), ending != u"Complete");
        QVERIFY(!Session().Awaiting());
        QVERIFY(!Session().WaitTimer.isActive());
        // A write stopped among its blocks says that the radio may hold part of it, and where the
        // radio as it was is kept.
        const QString detail = OutcomeDetail(one.outcomes[0]);
        QCOMPARE(detail.contains(QStringLiteral("may have been written")) && detail.contains(backup),
                 frames.contains(QStringLiteral("W0")));
        if (ending == u"Complete")
            QCOMPARE(Bytes(Session().InfoImage()).toHex(' '), Bytes(Radio().Image()).toHex(' '));
        else
            VerifyNextReadWorks();
    }

    // A check goes as far as the end command and never asks for a block. What a read takes for done
    // after the end command is what a check is there to find: a port that went away, or a radio that
    // refuses the end command. Only a radio that never acknowledges it passes. Each try is told.
    void check_data()
    {
        QTest::addColumn<QByteArray>("identity");
        QTest::addColumn<VirtualRadioFaults>("faults");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("step");
        QTest::addColumn<bool>("portLost");
        QTest::addColumn<bool>("endAnswered");
        QTest::addColumn<QStringList>("tries"); // as trySent told them: frame and try
        QTest::addColumn<QString>("words");     // in the failure's detail

        const QByteArray uv("RZ614UV");
        const int end = int(SessionStep::End);
        QTest::newRow("radio answers") << uv << VirtualRadioFaults{} << "Complete" << end << false << true
                                       << QStringList{"P1", "I1", "END1"} << "";
        QTest::newRow("end command unanswered")
            << uv << Faults([](auto& f) { f.ignoreEnd = true; }) << "Complete" << end << false << false
            << QStringList{"P1", "I1", "END1", "END2", "END3"} << "";
        QTest::newRow("port gone at the end command")
            << uv << Faults([](auto& f) { f.hangUpFrames = {2}; }) << "Failure" << end << true << false
            << QStringList{"P1", "I1", "END1"}
            << "the port went away while waiting for the reply to the end command.";
        QTest::newRow("end command refused") << uv << Faults([](auto& f) {
            f.nakFrames = {2, 3, 4};
        }) << "Failure" << end << false << false
                                             << QStringList{"P1", "I1", "END1", "END2", "END3"}
                                             << "no acceptable reply to the end command after 3 tries. The "
                                                "radio refused it with a negative reply each time.";
        QTest::newRow("bytes that make no reply after the end command")
            << uv << Faults([](auto& f) {
                   f.ignoreEnd = true;
                   f.strayReplies = {{2, "\x55\x66"}, {3, "\x55\x66"}, {4, "\x55\x66"}};
               })
            << "Failure" << end << false << false << QStringList{"P1", "I1", "END1", "END2", "END3"}
            << "no acceptable reply to the end command after 3 tries. Each time only bytes came back that "
               "make no reply";
        QTest::newRow("port gone at the program command")
            << uv << Faults([](auto& f) { f.hangUpFrames = {0}; }) << "Failure"
            << int(SessionStep::ProgramCommand) << true << false << QStringList{"P1"}
            << "the port went away while waiting for the reply to the program command.";
        QTest::newRow("silent radio")
            << uv << Faults([](auto& f) { f.silentFromFrame = 0; }) << "Failure"
            << int(SessionStep::ProgramCommand) << false << false << QStringList{"P1", "P2", "P3"}
            << "no acceptable reply to the program command";
        QTest::newRow("unknown type")
            << QByteArray("RZ999XY") << VirtualRadioFaults{} << "ModelError" << int(SessionStep::Identity)
            << false << false << QStringList{"P1", "I1"} << "RZ999XY";
    }
    void check()
    {
        QFETCH(QByteArray, identity);
        QFETCH(VirtualRadioFaults, faults);
        QFETCH(QString, result);
        QFETCH(int, step);
        QFETCH(bool, portLost);
        QFETCH(bool, endAnswered);
        QFETCH(QStringList, tries);
        QFETCH(QString, words);
        Radio().SetIdentity(identity);
        Radio().SetFaults(faults);
        if (faults.silentFromFrame == 0)
            Session().SetTimings(SilentWaits);
        const LinkTimings timings = Session().Timings();
        QStringList told;
        connect(&Session(), &RadioSession::trySent,
                [&told, timings](const QByteArray& frame, int16_t tryNumber, std::chrono::milliseconds wait) {
                    const bool program = frame == Proto::ProgramCommand;
                    QCOMPARE(wait, program ? timings.LongWait : timings.ShortWait);
                    told << (program                      ? QStringLiteral("P")
                             : frame == Proto::EndCommand ? QStringLiteral("END")
                                                          : QStringLiteral("I")) +
                                QString::number(tryNumber);
                });
        Session().startCheck(RadioPort);
        QVERIFY(one.WaitForEnd(1, 5000));
        QTest::qWait(50);
        const SessionOutcome& outcome = one.outcomes[0];
        QVERIFY2(one.events == QStringList{result},
                 qPrintable(one.events.join(u',') + u'\n' + OutcomeDetail(outcome)));
        QCOMPARE(outcome.Mode, SessionMode::Check);
        QCOMPARE(int(outcome.Step), step);
        QCOMPARE(outcome.PortLost, portLost);
        QCOMPARE(Session().EndAnswered(), endAnswered);
        QCOMPARE(told, tries);
        // No block asked for or written, whatever happened.
        QStringList frames = tries;
        frames.replaceInStrings(QRegularExpression(QStringLiteral("\\d$")), QString());
        QCOMPARE(FrameNames(Radio()), frames);
        if (result == u"Complete") {
            QCOMPARE(Session().CheckedIdentity(), QStringLiteral("TANGELOUV"));
            QCOMPARE(Session().CheckedBand(), int16_t(3));
            QVERIFY(!Session().MSComm1.PortOpen());
        }
        const ProgramTranslations english(EnglishLanguage);
        const QString detail = OutcomeDetail(outcome);
        QVERIFY2(detail.contains(words), qPrintable(detail));
        QCOMPARE(Session().Mode() == SessionMode::None, result == u"Complete");
    }

    // What the line carried on each try of the last frame decides the failure's words, in English and
    // in Chinese, and the trace names it: nothing, the frame itself, noise, negative replies, replies
    // that belong to another frame or another block, each with how often it came. A radio that
    // answered at all is never told to switch on.
    void lineCarried_data()
    {
        QTest::addColumn<VirtualRadioFaults>("faults");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("chinese");
        QTest::addColumn<QString>("trace");
        QTest::addColumn<bool>("answered"); // a radio answered, on this frame or an earlier one
        const auto row = [](const char* name, const VirtualRadioFaults& faults, const char* english,
                            const char* chinese, const char* trace) {
            const bool noRadio = std::string_view(name) == "silent" || std::string_view(name) == "echo" ||
                                 std::string_view(name) == "noise";
            QTest::newRow(name) << faults << QString::fromUtf8(english) << QString::fromUtf8(chinese)
                                << QString::fromUtf8(trace) << !noRadio;
        };
        row("silent", Faults([](auto& f) { f.silentFromFrame = 0; }),
            "no acceptable reply to the program command after 3 tries. Nothing came back on any try. Check "
            "that the radio is switched on",
            "编程命令发送 3 次后仍没有收到有效的应答。每次都没有收到任何字节。请检查对讲机是否已开机",
            "line carried: try 1: nothing; try 2: nothing; try 3: nothing");
        row("echo", Faults([](auto& f) { f.echo = true; }),
            "Each time only the frame itself came back. The cable works up to its plug",
            "每次传回的都只是所发送的帧本身。", "try 1: echo, 50 52 4F 47 52 41 4D; try 2: echo");
        row("noise", Faults([](auto& f) { f.noise = true; }),
            "Each time only bytes came back that make no reply (first bytes: F8 80 FE 78 00 E0 9C). Another "
            "kind of radio",
            "每次收到的都只是不构成应答的字节（开头的字节：F8 80 FE 78 00 E0 9C）。",
            "try 1: unreadable, F8 80 FE 78 00 E0 9C; try 2: unreadable");
        row("every frame refused", Faults([](auto& f) { f.refuseAll = true; }),
            "The radio refused it with a negative reply each time. A radio answers, but does not take this "
            "frame",
            "对讲机每次都回复了否定应答，拒绝了这一帧。",
            "try 1: negative reply, 0A; try 2: negative reply, 0A");
        // Frames 2 to 4: the read request for block 0, whose negative reply stays below the threshold.
        row("read request refused", Faults([](auto& f) {
                f.nakFrames = {2, 3, 4};
            }),
            "no acceptable reply to the read request for block 0 after 3 tries. The radio refused it with a "
            "negative reply each time.",
            "第 0 块读取请求发送 3 次后仍没有收到有效的应答。对讲机每次都回复了否定应答",
            "try 3: negative reply, 0A");
        row("block replies garbled", Faults([](auto& f) {
                f.badChecksumFrames = {3, 4, 5};
            }),
            "no acceptable reply to the read request for block 1 after 3 tries. Each time only bytes came "
            "back that make no reply (first bytes: 57 08 00 20 01 ",
            "第 1 块读取请求发送 3 次后仍没有收到有效的应答。每次收到的都只是不构成应答的字节",
            "try 1: unreadable, 57 08 00 20 01");
        row("silent after the identity", Faults([](auto& f) { f.silentFromFrame = 2; }),
            "no acceptable reply to the read request for block 0 after 3 tries. Nothing came back on any "
            "try. "
            "The radio answered at first and then stopped",
            "第 0 块读取请求发送 3 "
            "次后仍没有收到有效的应答。每次都没有收到任何字节。对讲机起初有应答，后来停止了",
            "try 1: nothing; try 2: nothing; try 3: nothing");
        // The program command refused once, then silence: a radio is there, on this port.
        row("program command refused once, then silent", Faults([](auto& f) {
                f.nakFrames = {0};
                f.silentFromFrame = 1;
            }),
            "no acceptable reply to the program command after 3 tries. On 1 of the 3 tries the radio refused "
            "it with a negative reply. Nothing came back on 2 of the 3 tries. A radio answers, but does not "
            "take this frame",
            "编程命令发送 3 次后仍没有收到有效的应答。3 次中有 1 次对讲机回复了否定应答，拒绝了这一帧。3 "
            "次中有 2 "
            "次没有收到任何字节。对讲机有应答，但不接受这一帧",
            "line carried: try 1: negative reply, 0A; try 2: nothing; try 3: nothing");
        // Each read request for block 0 answered with block 5.
        row("another block each time", Faults([](auto& f) {
                f.wrongBlocks = {{2, 5}, {3, 5}, {4, 5}};
            }),
            "no acceptable reply to the read request for block 0 after 3 tries. Each time the radio sent "
            "block 5 instead of block 0. The radio answers, but not with the block asked for",
            "第 0 块读取请求发送 3 次后仍没有收到有效的应答。对讲机每次发送的都是第 5 块，而不是所请求的第 "
            "0 "
            "块。对讲机有应答，但发送的不是所请求的数据块",
            "line carried: try 1: another block (block 5), 57 08 00 20 05");
        row("refused once, then silent", Faults([](auto& f) {
                f.nakFrames = {2};
                f.silentFromFrame = 3;
            }),
            "On 1 of the 3 tries the radio refused it with a negative reply. Nothing came back on 2 of the 3 "
            "tries.",
            "3 次中有 1 次对讲机回复了否定应答，拒绝了这一帧。3 次中有 2 次没有收到任何字节。",
            "try 1: negative reply, 0A; try 2: nothing");
        row("a repeated identity reply, then silent", Faults([](auto& f) {
                f.strayReplies[2] = RadioReplies::IdentReply("RZ614UV", 3);
                f.lostFrames = {2, 3, 4};
            }),
            "On 1 of the 3 tries the radio sent a reply that belongs to another frame. Nothing came back on "
            "2 "
            "of the 3 tries. The radio answers, but out of step with the program",
            "3 次中有 1 次对讲机发送的是属于另一帧的应答。3 次中有 2 次没有收到任何字节。",
            "try 1: reply to another frame, 49 52 5A");
        row("a late acknowledgement, then silent", Faults([](auto& f) {
                f.strayReplies[2] = QByteArray(1, char(Proto::Ack));
                f.lostFrames = {2, 3, 4};
            }),
            "On 1 of the 3 tries the radio sent a reply that belongs to another frame.",
            "3 次中有 1 次对讲机发送的是属于另一帧的应答。",
            "try 1: reply to another frame, 06; try 2: nothing");
    }
    void lineCarried()
    {
        QFETCH(VirtualRadioFaults, faults);
        QFETCH(QString, english);
        QFETCH(QString, chinese);
        QFETCH(QString, trace);
        QFETCH(bool, answered);
        Radio().SetFaults(faults);
        Session().SetTimings(faults.silentFromFrame == 0 ? SilentWaits : WordsWaits);
        const auto capture = std::make_unique<TraceCapture>();
        one.Press(false);
        QVERIFY(one.WaitForEnd(1, 5000));
        QVERIFY2(one.events.last() == QStringLiteral("Failure"),
                 qPrintable(one.events.last() + u'\n' + OutcomeDetail(one.outcomes[0])));
        QVERIFY2(capture->Contains(trace), qPrintable(capture->All()));
        for (const auto& [language, words] :
             {std::pair{EnglishLanguage, english}, std::pair{ChineseLanguage, chinese}}) {
            const ProgramTranslations translations(language); // English installs nothing
            const QString detail = OutcomeDetail(one.outcomes[0]);
            QVERIFY2(detail.contains(words), qPrintable(detail));
            QVERIFY2(!answered || !(detail.contains(QStringLiteral("switched on")) ||
                                    detail.contains(QString::fromUtf8("是否已开机"))),
                     qPrintable(detail));
            // The port once, ahead of the words; Chinese brackets the device in full-width ones.
            const QString port = language == EnglishLanguage
                                     ? QStringLiteral("COM5 (%1)").arg(Radio().DevicePath())
                                     : QString::fromUtf8("COM5（%1）").arg(Radio().DevicePath());
            QVERIFY2(detail.startsWith(port) && detail.count(QStringLiteral("COM5")) == 1,
                     qPrintable(detail));
            const QStringList foreign = OtherLanguage::Foreign(detail, language, {});
            QVERIFY2(foreign.isEmpty(), qPrintable(foreign.join(QStringLiteral(" | ")) + u'\n' + detail));
        }
    }

    // A radio that answers a little late answers every frame twice, once for each transmission, and
    // the second answer comes while the next frame is awaited; an acknowledgement names no frame, so a
    // late one is taken for the next block write's. With one block write refused, lost or not kept
    // besides, the session then completes with exactly the radio's bytes (a read) or exactly the
    // intended image in the radio (a write), or it fails, naming the fields the radio does not hold as
    // intended; it never completes with other bytes.
    void lateReplies_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<int>("delayMs");
        QTest::addColumn<VirtualRadioFaults>("faults");
        // Just before the wait ends, just after, and halfway into the frame's second wait.
        for (const int delay : {LateWaitMs * 14 / 15, LateWaitMs * 16 / 15, LateWaitMs * 3 / 2}) {
            VirtualRadioFaults faults;
            faults.replyDelayMs = delay;
            QTest::addRow("read, %d ms", delay) << false << delay << faults;
            QTest::addRow("write, %d ms", delay) << true << delay << faults;
        }
        const int delay = LateWaitMs * 16 / 15; // just past the wait
        for (const auto& [name, kind] :
             {std::pair{"refused", BlockWriteFault::Refused}, std::pair{"lost", BlockWriteFault::Lost}}) {
            VirtualRadioFaults faults;
            faults.replyDelayMs = delay;
            faults.blockWriteFaults[2] = {kind, 1};
            QTest::addRow("write, %d ms, block 2 %s once", delay, name) << true << delay << faults;
        }
    }
    void lateReplies()
    {
        QFETCH(bool, write);
        QFETCH(VirtualRadioFaults, faults);
        Radio().SetFaults(faults);
        // Every frame waits out its reply at least once: the shortest waits keep this quick.
        Session().SetTimings(
            {std::chrono::milliseconds(3 * LateWaitMs), std::chrono::milliseconds(LateWaitMs)});
        const RadioImage before = Radio().Image();
        Session().SetWriteFieldsQuestion(
            [](const RadioInfoRecord& radio, const InfoImageType&) { return EditedFields(radio); });
        one.Press(write);
        QVERIFY(one.WaitForEnd(1, 20000));
        QTest::qWait(50);
        QCOMPARE(one.outcomes.size(), 1);
        const RadioImage intended = write ? AfterEditedWrite(before) : before;
        if (one.events.last() == u"Failure") {
            // What the radio holds otherwise than intended is what the failure names.
            const SessionOutcome& outcome = one.outcomes[0];
            if (!outcome.FieldsNotTaken.isEmpty())
                QCOMPARE(outcome.FieldsNotTaken, DifferingFields(intended, Radio().Image(), 160));
            return;
        }
        QCOMPARE(one.events.last(), QStringLiteral("Complete"));
        const QString diff =
            write ? ImageDiff(Radio().Image(), intended) : ImageDiff(Session().InfoImage(), before);
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
    }

    void modelError_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<QByteArray>("identity");
        QTest::addColumn<QString>("pcType");
        QTest::addColumn<QString>("radioType");
        QTest::newRow("write to another type") << true << QByteArray("RZ614_V") << "TANGELOUV"
                                               << "TANGELOSV";
        QTest::newRow("read of an unknown type") << false << QByteArray("RZ614_U") << "TANGELOSU"
                                                 << "TANGELOSU";
        QTest::newRow("read, identity cut at 0x00") << false << QByteArray("RZ614\0V", 7) << "RZ614"
                                                    << "RZ614";
        QTest::newRow("read, lower case") << false << QByteArray("rz614uv") << "rz614uv"
                                          << "rz614uv";
    }
    void modelError()
    {
        QFETCH(bool, write);
        QFETCH(QByteArray, identity);
        QFETCH(QString, pcType);
        QFETCH(QString, radioType);
        Radio().SetIdentity(identity);
        bool asked = false;
        Session().SetWriteFieldsQuestion([&](const RadioInfoRecord& radio, const InfoImageType&) {
            asked = true;
            return WriteDecision{false, radio};
        });
        one.Press(write);
        QVERIFY(one.WaitForEnd(1, 3000));
        QTest::qWait(ShortMs + 100); // nothing more may follow
        QCOMPARE(one.events, QStringList{"ModelError"});
        QCOMPARE(one.outcomes[0].PcType, pcType);
        QCOMPARE(one.outcomes[0].RadioType, radioType);
        QCOMPARE(FrameNames(Radio()), QStringList({"P", "I"})); // no block, no end command
        QVERIFY(Session().MSComm1.PortOpen());
        QCOMPARE(Session().RadioInfo().BandIndex, int16_t(3)); // stored even though the check failed
        QVERIFY(!asked);
    }

    // Every reason the serial control gives takes the same path here; the radio's device held by
    // another program is the one where "nothing sent" means something.
    void portCannotBeOpened()
    {
        QSerialPort other(Radio().DevicePath());
        QVERIFY(other.open(QIODevice::ReadWrite));
        one.Press(false);
        QTest::qWait(300);
        QCOMPARE(one.events, QStringList{"CannotOpen"});
        QVERIFY(!one.outcomes[0].Reason.isEmpty());
        QCOMPARE(one.outcomes[0].Mode, SessionMode::Read);
        QCOMPARE(Session().Mode(), SessionMode::None);
        QVERIFY(!Session().MSComm1.PortOpen());
        QVERIFY(!Session().WaitTimer.isActive());
        QCOMPARE(FrameNames(Radio()), QStringList());
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
        faults.hangUpFrames = {frame};
        Radio().SetFaults(faults);
        one.Press(write);
        QVERIFY(one.WaitForEnd(1, 3000));
        QCOMPARE(one.events.last(), QStringLiteral("Failure"));
        QVERIFY(one.outcomes[0].PortLost);
        QCOMPARE(OutcomeDetail(one.outcomes[0]).contains(QStringLiteral("may have been written")), write);
        // Ended by the hang-up itself, not by three waits for a reply.
        VERIFY_MS_BETWEEN(one.endMs[0], 0, 600);
        QVERIFY(!Session().MSComm1.PortOpen());
        const qint64 cpu = CpuMsDuringWait(600);
        QVERIFY2(cpu < 600 / 3, qPrintable(QStringLiteral("%1 ms of processor time").arg(cpu)));
        QCOMPARE(one.outcomes.size(), 1);

        QVERIFY(Radio().OpenPty()); // the device is back
        VerifyNextReadWorks();
    }

    void pressDuringSessionStartsAnew()
    {
        Radio().SetFaults(Faults([](auto& f) { f.silentFromFrame = 3; })); // the write's second read request
        one.Press(true);
        QTRY_COMPARE(Radio().Trace().size(), 4);
        VerifyNextReadWorks();
        QTest::qWait(4 * ShortMs); // the abandoned write's waits must not come back
        QCOMPARE(one.events, QStringList({"recordRead", "Complete"}));
        QCOMPARE(FrameNames(Radio()), ReadFrames);
    }

    // Two sessions, each on its own radio, at the same time in one process: each reads its own radio.
    void twoSessionsAtOnce()
    {
        RadioAndSession two;
        QVERIFY(two.Start("RZ614_V", 12, ShortWaits));
        two.radio->Image().fill(0x33);
        QString order; // which radio received each frame
        connect(one.radio.get(), &VirtualRadio::FrameReceived, this, [&] { order += u'1'; });
        connect(two.radio.get(), &VirtualRadio::FrameReceived, this, [&] { order += u'2'; });
        one.Press(false);
        two.Press(false);
        QVERIFY(one.WaitForEnd(1, 5000));
        QVERIFY(two.WaitForEnd(1, 5000));
        QCOMPARE(one.events, QStringList({"recordRead", "Complete"}));
        QCOMPARE(two.events, QStringList({"recordRead", "Complete"}));
        // The two exchanges overlapped.
        QVERIFY2(order.contains(QStringLiteral("1212")), qPrintable(order));
        QCOMPARE(FrameNames(*one.radio), ReadFrames);
        QCOMPARE(FrameNames(*two.radio), ReadFrames);
        QCOMPARE(Bytes(Session().InfoImage()), Bytes(Radio().Image()));
        QCOMPARE(Bytes(two.session->InfoImage()), Bytes(two.radio->Image()));
        QCOMPARE(Session().RadioInfo().Model, QStringLiteral("TANGELOUV"));
        QCOMPARE(two.session->RadioInfo().Model, QStringLiteral("TANGELOSV"));
        QCOMPARE(two.session->RadioInfo().BandIndex, int16_t(0x33));
        two.session.reset();
    }

    void traceForSupport()
    {
        if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES"))
            QVERIFY(!Session().Trace().Enabled()); // off unless asked for
        const auto capture = std::make_unique<TraceCapture>();
        Radio().SetFaults(Faults([](auto& f) { f.strayByteFrames = {2}; }));
        one.Press(false);
        QVERIFY(one.WaitForEnd(1, 5000));
        const QStringList lines = capture->lines;
        const QString all = capture->All();
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

// The functions side by side, the slowest first.
TT_QTEST_GUILESS_MAIN_SIDE_BY_SIDE(TestSession, 12, 8, {"defaultWaits"}, {"unansweredFrame"}, {"lateReplies"},
                                   {"strayReplies", 4}, {"lineCarried", 4}, {"hangUpMidSession"},
                                   {"check", 2}, {"frameSentAgain", 2}, {"modelError", 2})
#include "tst_session.moc"
