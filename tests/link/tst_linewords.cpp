// The words of a frame that got no acceptable reply, for every frame the program sends and every
// pattern of what its three tries got back, in English and in Chinese; and the trace's account of
// the same tries. Built from the bytes as the session keeps them, without a line.
#include "DefaultImage.h"
#include "link/Frames.h"
#include "link/SessionMessages.h"
#include "OtherLanguage.h"
#include "RadioReplies.h"
#include "system/ProgramTranslations.h"
#include "system/SystemLanguage.h"

#include <QTest>

#include <array>

namespace {

// What a try gets back, as bytes for a given frame.
enum class Got { Nothing, Echo, Nak, Noise, Ack, Identity, Block3, Block5 };

struct Frame
{
    const char* name;
    QByteArray bytes;
    SessionStep step;
    QString english; // the frame in words
    QString chinese;
};

QList<Frame> Frames()
{
    std::array<uint8_t, Proto::BlockDataSize> data{};
    data.fill(0x41);
    return {
        {"program command", Proto::ProgramCommand.toByteArray(), SessionStep::ProgramCommand,
         "the program command", QString::fromUtf8("编程命令")},
        {"identity request", QByteArray(1, char(Proto::IdentRequest)), SessionStep::Identity,
         "the identity request", QString::fromUtf8("识别请求")},
        {"read request 3", Proto::BuildReadRequest(3), SessionStep::Blocks, "the read request for block 3",
         QString::fromUtf8("第 3 块读取请求")},
        {"block write 3", Proto::BuildBlockFrame(3, data), SessionStep::Blocks, "the block write for block 3",
         QString::fromUtf8("第 3 块写入")},
        {"end command", Proto::EndCommand.toByteArray(), SessionStep::End, "the end command",
         QString::fromUtf8("结束命令")},
    };
}

QByteArray BytesFor(Got got, const Frame& frame)
{
    const RadioReplies::Image image = MakeDefaultImage();
    switch (got) {
    case Got::Nothing:
        return {};
    case Got::Echo:
        return frame.bytes;
    case Got::Nak:
        return QByteArray(1, char(Proto::Nak));
    case Got::Noise:
        return QByteArray::fromHex("F880FE7800E09CFF");
    case Got::Ack:
        return QByteArray(1, char(Proto::Ack));
    case Got::Identity:
        return RadioReplies::IdentReply("RZ614UV", 3);
    case Got::Block3:
        return RadioReplies::BlockReply(image, 3, 3);
    case Got::Block5:
        return RadioReplies::BlockReply(image, 5, 5);
    }
    return {};
}

// The reply a frame awaits, and one that belongs to another frame.
Got AwaitedBy(const Frame& frame)
{
    switch (AwaitedReply(frame.bytes)) {
    case ReplyKind::Identity:
        return Got::Identity;
    case ReplyKind::Block:
        return Got::Block3;
    case ReplyKind::Ack:
        break;
    }
    return Got::Ack;
}

Got OtherThan(const Frame& frame)
{
    return AwaitedBy(frame) == Got::Identity ? Got::Ack : Got::Identity;
}

// A pattern of tries and the sentences it must give after the one that names the frame; the advice
// differs where the radio answered the frames before (every frame but the program command). English,
// then Chinese after '|'.
struct Pattern
{
    const char* name;
    std::function<QList<Got>(const Frame&)> tries;
    QStringList english;
    QStringList chinese;
    QString adviceFirst;
    QString adviceLater;
    bool readRequestsOnly = false;
    bool otherThanReadRequests = false;
};

const QString SwitchOn =
    QStringLiteral("Check that the radio is switched on and connected by its programming "
                   "cable to this port, and that the right COM port is chosen.|请检查对讲机"
                   "是否已开机并通过写频线连接到这个串口，以及是否选择了正确的串口。");
const QString Stopped =
    QStringLiteral("The radio answered at first and then stopped: check that the cable sits "
                   "firmly and try again.|对讲机起初有应答，后来停止了：请检查写频线是否插牢，"
                   "然后再试。");
const QString Earlier =
    QStringLiteral("The radio answered earlier frames: check that the cable sits firmly and "
                   "try again.|对讲机对之前的帧有应答：请检查写频线是否插牢，然后再试。");
const QString PlugIn =
    QStringLiteral("The cable works up to its plug, but no radio answered: check that the plug "
                   "is fully in the radio's socket and that the radio is switched on.|写频线直到"
                   "插头都是通的，但没有对讲机应答：请检查插头是否完全插入对讲机的插孔，以及对讲机"
                   "是否已开机。");
const QString OtherRadio =
    QStringLiteral("Another kind of radio, a radio at another speed or a faulty cable sends "
                   "such: check that the radio is of a type this program knows, and try "
                   "another cable.|其他种类的对讲机、波特率不同的对讲机或有故障的写频线会发送这样"
                   "的字节：请检查对讲机是否为本程序认识的机型，并换一根写频线再试。");
const QString Refuses =
    QStringLiteral("A radio answers, but does not take this frame: switch the radio off and on "
                   "again, then try again; a radio that still refuses needs service.|对讲机有"
                   "应答，但不接受这一帧：请将对讲机关机后再开机，然后再试；仍然拒绝的对讲机需要"
                   "维修。");
const QString OutOfStep =
    QStringLiteral("The radio answers, but out of step with the program: switch the radio off "
                   "and on again, then try again.|对讲机有应答，但与程序的步骤不一致：请将对讲"
                   "机关机后再开机，然后再试。");
const QString WrongBlock =
    QStringLiteral("The radio answers, but not with the block asked for: switch the radio off "
                   "and on again, then try again; a radio that keeps doing so needs "
                   "service.|对讲机有应答，但发送的不是所请求的数据块：请将对讲机关机后再开机，"
                   "然后再试；一直如此的对讲机需要维修。");
const QString Slow = QStringLiteral("The radio answers, but later than the program waits for its reply: try "
                                    "again.|对讲机有应答，但比程序等待应答的时间晚：请再试一次。");

QList<Got> Three(Got got)
{
    return {got, got, got};
}

QList<Pattern> Patterns()
{
    using S = QStringList;
    const auto same = [](Got got) { return [got](const Frame&) { return Three(got); }; };
    return {
        {"nothing", same(Got::Nothing), S{"Nothing came back on any try."}, S{"每次都没有收到任何字节。"},
         SwitchOn, Stopped},
        {"echo", same(Got::Echo), S{"Each time only the frame itself came back."},
         S{"每次传回的都只是所发送的帧本身。"}, PlugIn, Earlier},
        {"negative replies", same(Got::Nak), S{"The radio refused it with a negative reply each time."},
         S{"对讲机每次都回复了否定应答，拒绝了这一帧。"}, Refuses, Refuses},
        {"noise", same(Got::Noise),
         S{"Each time only bytes came back that make no reply (first bytes: F8 80 FE 78 00 E0 9C FF)."},
         S{"每次收到的都只是不构成应答的字节（开头的字节：F8 80 FE 78 00 E0 9C FF）。"}, OtherRadio, Earlier},
        {"another frame's reply", [](const Frame& frame) { return Three(OtherThan(frame)); },
         S{"Each time the radio sent a reply that belongs to another frame."},
         S{"对讲机每次发送的都是属于另一帧的应答。"}, OutOfStep, OutOfStep},
        {"another block", same(Got::Block5), S{"Each time the radio sent block 5 instead of block 3."},
         S{"对讲机每次发送的都是第 5 块，而不是所请求的第 3 块。"}, WrongBlock, WrongBlock, true},
        {"a block reply where none is awaited", same(Got::Block5),
         S{"Each time the radio sent a reply that belongs to another frame."},
         S{"对讲机每次发送的都是属于另一帧的应答。"}, OutOfStep, OutOfStep, false, true},
        {"the reply after the wait", [](const Frame& frame) { return Three(AwaitedBy(frame)); },
         S{"Each time the reply came only after its wait had run out."},
         S{"每次应答都是在等待时间结束后才到达。"}, Slow, Slow},
        {"refused once, then silent",
         [](const Frame&) {
             return QList<Got>{Got::Nak, Got::Nothing, Got::Nothing};
         },
         S{"On 1 of the 3 tries the radio refused it with a negative reply.",
           "Nothing came back on 2 of the 3 tries."},
         S{"3 次中有 1 次对讲机回复了否定应答，拒绝了这一帧。", "3 次中有 2 次没有收到任何字节。"}, Refuses,
         Refuses},
        {"silent, then noise once",
         [](const Frame&) {
             return QList<Got>{Got::Nothing, Got::Noise, Got::Nothing};
         },
         S{"Nothing came back on 2 of the 3 tries.",
           "On 1 of the 3 tries bytes came back that make no reply (first bytes: F8 80 FE 78 00 E0 9C FF)."},
         S{"3 次中有 2 次没有收到任何字节。",
           "3 次中有 1 次收到了不构成应答的字节（开头的字节：F8 80 FE 78 00 E0 9C FF）。"},
         OtherRadio, Earlier},
        {"echo once, then silent",
         [](const Frame&) {
             return QList<Got>{Got::Echo, Got::Nothing, Got::Nothing};
         },
         S{"On 1 of the 3 tries only the frame itself came back.", "Nothing came back on 2 of the 3 tries."},
         S{"3 次中有 1 次传回的只是所发送的帧本身。", "3 次中有 2 次没有收到任何字节。"}, PlugIn, Earlier},
        {"late once, then silent",
         [](const Frame& frame) {
             return QList<Got>{AwaitedBy(frame), Got::Nothing, Got::Nothing};
         },
         S{"On 1 of the 3 tries the reply came only after its wait had run out.",
           "Nothing came back on 2 of the 3 tries."},
         S{"3 次中有 1 次应答在等待时间结束后才到达。", "3 次中有 2 次没有收到任何字节。"}, Slow, Slow},
        {"another block, refused, silent",
         [](const Frame&) {
             return QList<Got>{Got::Block5, Got::Nak, Got::Nothing};
         },
         S{"On 1 of the 3 tries the radio sent block 5 instead of block 3.",
           "On 1 of the 3 tries the radio refused it with a negative reply.",
           "Nothing came back on 1 of the 3 tries."},
         S{"3 次中有 1 次对讲机发送的是第 5 块，而不是所请求的第 3 块。",
           "3 次中有 1 次对讲机回复了否定应答，拒绝了这一帧。", "3 次中有 1 次没有收到任何字节。"},
         WrongBlock, WrongBlock, true},
    };
}

} // namespace

class TestLineWords : public QObject
{
    Q_OBJECT

private slots:
    // Every frame with every pattern: a head naming the frame and its tries, one sentence for each
    // kind of try in the order it came, and the advice that follows from them. A radio that answered,
    // on this frame or an earlier one, is never told to switch on.
    void words_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<int>("step");
        QTest::addColumn<QList<QByteArray>>("tries");
        QTest::addColumn<QStringList>("english");
        QTest::addColumn<QStringList>("chinese");
        QTest::addColumn<bool>("radioAnswered");
        for (const Frame& frame : Frames()) {
            const bool readRequest = AwaitedReply(frame.bytes) == ReplyKind::Block;
            const bool first = frame.step == SessionStep::ProgramCommand;
            for (const Pattern& pattern : Patterns()) {
                if ((pattern.readRequestsOnly && !readRequest) ||
                    (pattern.otherThanReadRequests && readRequest))
                    continue;
                QList<QByteArray> tries;
                bool answered = !first;
                for (const Got got : pattern.tries(frame)) {
                    tries << BytesFor(got, frame);
                    answered = answered || (got != Got::Nothing && got != Got::Echo && got != Got::Noise);
                }
                const QStringList advice = (first ? pattern.adviceFirst : pattern.adviceLater).split(u'|');
                QTest::addRow("%s: %s", frame.name, pattern.name)
                    << frame.bytes << int(frame.step) << tries
                    << QStringList{QStringLiteral("no acceptable reply to %1 after 3 tries.")
                                       .arg(frame.english)} +
                           pattern.english + QStringList{advice[0]}
                    << QStringList{QString::fromUtf8("%1发送 3 次后仍没有收到有效的应答。")
                                       .arg(frame.chinese)} +
                           pattern.chinese + QStringList{advice[1]}
                    << answered;
            }
        }
    }
    void words()
    {
        QFETCH(QByteArray, frame);
        QFETCH(int, step);
        QFETCH(QList<QByteArray>, tries);
        QFETCH(QStringList, english);
        QFETCH(QStringList, chinese);
        QFETCH(bool, radioAnswered);
        SessionOutcome outcome;
        outcome.Result = SessionResult::Failure;
        outcome.Mode = SessionMode::Read;
        outcome.Step = SessionStep(step);
        outcome.Frame = frame;
        outcome.Tries = int16_t(tries.size());
        outcome.Line = ClassifyLine(frame, tries);
        for (const auto& [language, sentences] :
             {std::pair{EnglishLanguage, english}, std::pair{ChineseLanguage, chinese}}) {
            const ProgramTranslations translations(language); // English installs nothing
            const QString words = OutcomeWhat(outcome);
            // The sentences in this order and nothing else, joined as the language joins them.
            QCOMPARE(words, sentences.join(language == EnglishLanguage ? QStringLiteral(" ") : QString()));
            const QStringList foreign = OtherLanguage::Foreign(words, language, {});
            QVERIFY2(foreign.isEmpty(), qPrintable(foreign.join(QStringLiteral(" | "))));
            if (radioAnswered)
                QVERIFY2(!words.contains(QStringLiteral("switched on")) &&
                             !words.contains(QString::fromUtf8("是否已开机")),
                         qPrintable(words));
        }
    }

    // The trace names what each try carried, with its bytes; never "nothing" beside bytes.
    void traceLine_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QList<QByteArray>>("tries");
        QTest::addColumn<QString>("trace");
        const QByteArray read0 = Proto::BuildReadRequest(0);
        const RadioReplies::Image image = MakeDefaultImage();
        const QByteArray block5 = RadioReplies::BlockReply(image, 5, 5);
        const QString block5Hex = QString::fromLatin1(block5.first(16).toHex(' ').toUpper());
        QTest::newRow("another block each time")
            << read0 << QList<QByteArray>{block5, block5, block5}
            << QStringLiteral(
                   "try 1: another block (block 5), %1; try 2: another block (block 5), %1; try 3: "
                   "another block (block 5), %1")
                   .arg(block5Hex);
        QTest::newRow("refused once, then silent")
            << Proto::ProgramCommand.toByteArray() << QList<QByteArray>{"\x0A", {}, {}}
            << QStringLiteral("try 1: negative reply, 0A; try 2: nothing; try 3: nothing");
        QTest::newRow("echo, a late acknowledgement, noise")
            << QByteArray("END") << QList<QByteArray>{"END", "\x06", "\xF8\x80"}
            << QStringLiteral(
                   "try 1: echo, 45 4E 44; try 2: reply after the wait, 06; try 3: unreadable, F8 80");
        QTest::newRow("an identity reply for the read request")
            << read0 << QList<QByteArray>{RadioReplies::IdentReply("RZ614UV", 3), {}, {}}
            << QStringLiteral(
                   "try 1: reply to another frame, 49 52 5A 36 31 34 55 56 03 FF FF FF FF FF FF 06; "
                   "try 2: nothing; try 3: nothing");
    }
    void traceLine()
    {
        QFETCH(QByteArray, frame);
        QFETCH(QList<QByteArray>, tries);
        QFETCH(QString, trace);
        QCOMPARE(LineCarriedText(ClassifyLine(frame, tries)), trace);
    }
};

QTEST_GUILESS_MAIN(TestLineWords)
#include "tst_linewords.moc"
