#include "link/SessionMessages.h"

#include "link/CableText.h"
#include "link/Frames.h"
#include "link/Sentences.h"
#include "system/SystemLanguage.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

class SessionText
{
    Q_DECLARE_TR_FUNCTIONS(SessionText)
};

// The frame in words: "the read request for block 5".
QString FrameName(const QByteArray& frame)
{
    if (frame == Proto::ProgramCommand)
        return SessionText::tr("the program command");
    if (frame == Proto::EndCommand)
        return SessionText::tr("the end command");
    if (frame.size() == 1 && uint8_t(frame[0]) == Proto::IdentRequest)
        return SessionText::tr("the identity request");
    if (frame.size() == Proto::ReadRequestSize && uint8_t(frame[0]) == Proto::ReadHead)
        return SessionText::tr("the read request for block %1").arg(uint8_t(frame[4]));
    if (frame.size() == Proto::BlockFrameSize && uint8_t(frame[0]) == Proto::BlockHead)
        return SessionText::tr("the block write for block %1").arg(uint8_t(frame[4]));
    return SessionText::tr("the last frame");
}

// A port given by its device alone has no COM number.
QString Port(const SessionOutcome& outcome)
{
    const QString name = QStringLiteral("COM%1").arg(outcome.ComPort);
    if (outcome.ComPort <= 0 && !outcome.Device.isEmpty())
        return outcome.Device;
    return outcome.Device.isEmpty()
               ? name
               : SessionText::tr("%1 (%2)", "a COM port and its device").arg(name, outcome.Device);
}

// Where the radio as it was before this write is kept; empty when no backup was saved.
QString BackupKept(const SessionOutcome& outcome)
{
    if (outcome.BackupPath.isEmpty())
        return {};
    return SessionText::tr("The automatic backup %1 holds the radio as it was before this write.")
        .arg(outcome.BackupPath);
}

// Stopped among the block writes or their read-back, the radio may hold part of the write.
QString PartlyWritten(const SessionOutcome& outcome)
{
    if (outcome.Mode != SessionMode::Write ||
        (outcome.Step != SessionStep::Blocks && outcome.Step != SessionStep::ReadBack))
        return {};
    return Then(SessionText::tr("Some blocks may have been written before it stopped; read the radio to see "
                                "what it holds."),
                BackupKept(outcome));
}

// What some of the tries got back, one sentence for each kind (and each other block), in the order it
// first came; "each" when every try got it.
QString TrySentence(const LineTry& kind, int count, int tries, uint8_t askedBlock)
{
    const bool each = count == tries;
    const QString bytes =
        QString::fromLatin1(kind.Bytes.first(std::min<qsizetype>(kind.Bytes.size(), 8)).toHex(' ').toUpper());
    switch (kind.Carried) {
    case TryCarried::Nothing:
        break;
    case TryCarried::Echo:
        return each ? SessionText::tr("Each time only the frame itself came back.")
                    : SessionText::tr("On %1 of the %2 tries only the frame itself came back.")
                          .arg(count)
                          .arg(tries);
    case TryCarried::NegativeReply:
        return each ? SessionText::tr("The radio refused it with a negative reply each time.")
                    : SessionText::tr("On %1 of the %2 tries the radio refused it with a negative reply.")
                          .arg(count)
                          .arg(tries);
    case TryCarried::Unreadable:
        return each ? SessionText::tr("Each time only bytes came back that make no reply (first bytes: %1).")
                          .arg(bytes)
                    : SessionText::tr(
                          "On %1 of the %2 tries bytes came back that make no reply (first bytes: %3).")
                          .arg(count)
                          .arg(tries)
                          .arg(bytes);
    case TryCarried::OtherFrame:
        return each ? SessionText::tr("Each time the radio sent a reply that belongs to another frame.")
                    : SessionText::tr(
                          "On %1 of the %2 tries the radio sent a reply that belongs to another frame.")
                          .arg(count)
                          .arg(tries);
    case TryCarried::OtherBlock:
        return each ? SessionText::tr("Each time the radio sent block %1 instead of block %2.")
                          .arg(kind.Block)
                          .arg(askedBlock)
                    : SessionText::tr("On %3 of the %4 tries the radio sent block %1 instead of block %2.")
                          .arg(kind.Block)
                          .arg(askedBlock)
                          .arg(count)
                          .arg(tries);
    case TryCarried::LateReply:
        return each ? SessionText::tr("Each time the reply came only after its wait had run out.")
                    : SessionText::tr("On %1 of the %2 tries the reply came only after its wait had run out.")
                          .arg(count)
                          .arg(tries);
    }
    return each ? SessionText::tr("Nothing came back on any try.")
                : SessionText::tr("Nothing came back on %1 of the %2 tries.").arg(count).arg(tries);
}

// What to do, from what the line showed: a radio that answered this frame or an earlier one is
// there, on this port, at this speed, and is never told to switch on.
QString Advice(const QList<TryCarried>& seen, bool answeredBefore)
{
    if (seen.contains(TryCarried::LateReply))
        return SessionText::tr(
            "The radio answers, but later than the program waits for its reply: try again.");
    if (seen.contains(TryCarried::OtherBlock))
        return SessionText::tr(
            "The radio answers, but not with the block asked for: switch the radio off and on "
            "again, then try again; a radio that keeps doing so needs service.");
    if (seen.contains(TryCarried::OtherFrame))
        return SessionText::tr(
            "The radio answers, but out of step with the program: switch the radio off and on "
            "again, then try again.");
    if (seen.contains(TryCarried::NegativeReply))
        return SessionText::tr("A radio answers, but does not take this frame: switch the radio off and on "
                               "again, then try again; a radio that still refuses needs service.");
    if (answeredBefore)
        return seen.contains(TryCarried::Unreadable) || seen.contains(TryCarried::Echo)
                   ? SessionText::tr(
                         "The radio answered earlier frames: check that the cable sits firmly and "
                         "try again.")
                   : SessionText::tr(
                         "The radio answered at first and then stopped: check that the cable sits "
                         "firmly and try again.");
    if (seen.contains(TryCarried::Unreadable))
        return SessionText::tr(
            "Another kind of radio, a radio at another speed or a faulty cable sends such: "
            "check that the radio is of a type this program knows, and try another cable.");
    if (seen.contains(TryCarried::Echo))
        return SessionText::tr(
            "The cable works up to its plug, but no radio answered: check that the plug is "
            "fully in the radio's socket and that the radio is switched on.");
    return SessionText::tr(
        "Check that the radio is switched on and connected by its programming cable to this "
        "port, and that the right COM port is chosen.");
}

// The kinds of what came back, in the order they first came.
QList<TryCarried> Seen(const SessionOutcome& outcome)
{
    QList<TryCarried> seen;
    for (const LineTry& one : outcome.Line)
        if (!seen.contains(one.Carried))
            seen << one.Carried;
    return seen;
}

// The frame got no acceptable reply: what the line carried on each try says why.
QString Unanswered(const SessionOutcome& outcome)
{
    QString words = SessionText::tr("no acceptable reply to %1 after %n tries.", nullptr, outcome.Tries)
                        .arg(FrameName(outcome.Frame));
    const uint8_t askedBlock =
        outcome.Frame.size() > Proto::BlockNumberAt ? uint8_t(outcome.Frame[Proto::BlockNumberAt]) : 0;
    // The kinds in the order they first came, each other block apart.
    QList<LineTry> kinds;
    QList<int> counts;
    QList<TryCarried> seen;
    for (const LineTry& one : outcome.Line) {
        const auto same = std::find_if(kinds.begin(), kinds.end(), [&](const LineTry& kind) {
            return kind.Carried == one.Carried && kind.Block == one.Block;
        });
        if (same == kinds.end()) {
            kinds << one;
            counts << 1;
            seen << one.Carried;
        } else {
            ++counts[same - kinds.begin()];
        }
    }
    for (qsizetype index = 0; index < kinds.size(); ++index)
        words = Then(words, TrySentence(kinds[index], counts[index], int(outcome.Line.size()), askedBlock));
    // The radio answered the frames before this one.
    const bool answeredBefore = outcome.Step != SessionStep::ProgramCommand;
    return Then(words, Advice(seen, answeredBefore));
}

// The cable's latency timer slows every reply: worth a word beside replies that came late.
QString CableWords(const SessionOutcome& outcome)
{
    const bool late = std::any_of(outcome.Line.begin(), outcome.Line.end(),
                                  [](const LineTry& one) { return one.Carried == TryCarried::LateReply; });
    return late ? CableDetail(outcome.Cable, outcome.Device) : CableSentence(outcome.Cable);
}

} // namespace

QString CompleteText(SessionMode mode)
{
    return mode == SessionMode::Write ? QStringLiteral("Write Complete!") : QStringLiteral("Read Complete!");
}

QString FailureText(SessionMode mode)
{
    return mode == SessionMode::Write ? QStringLiteral("Write Failure!") : QStringLiteral("Read Failure!");
}

QString ModelErrorText(const SessionOutcome& outcome)
{
    return QStringLiteral("Model Error\r\nPC is ") + outcome.PcType + QStringLiteral("\r\nRadio is ") +
           outcome.RadioType;
}

QString OutcomePort(const SessionOutcome& outcome)
{
    return Port(outcome);
}

QString OutcomeDetail(const SessionOutcome& outcome)
{
    const QString what = OutcomeWhat(outcome);
    if (what.isEmpty() || outcome.Result == SessionResult::CannotOpen)
        return what;
    return SessionText::tr("%1: %2", "the port, and what happened there").arg(Port(outcome), what);
}

QString OutcomeWhat(const SessionOutcome& outcome)
{
    switch (outcome.Result) {
    case SessionResult::Complete:
        return {};
    case SessionResult::CannotOpen:
        return outcome.Reason;
    case SessionResult::ModelError:
        if (outcome.Mode == SessionMode::Read)
            return SessionText::tr("the radio reports the type %1, which this program does not know. "
                                   "Nothing was read.")
                .arg(outcome.RadioType);
        return SessionText::tr("the radio is a %1, but %2 is chosen as the radio type. Nothing was read "
                               "or written; choose the radio's type and try again.")
            .arg(outcome.RadioType, outcome.PcType);
    case SessionResult::Refused:
        if (!outcome.Reason.isEmpty())
            return outcome.Reason;
        return SessionText::tr("a radio in the 66 - 88 MHz band cannot be given another band. The end "
                               "command was sent and no block was written; choose the radio's own band to "
                               "write the other fields.");
    case SessionResult::Failure:
        break;
    }
    if (!outcome.FieldsNotTaken.isEmpty()) {
        QString backup = BackupKept(outcome);
        if (backup.isEmpty())
            backup =
                SessionText::tr("No automatic backup of the radio as it was before this write was saved.");
        return SessionText::tr("the radio did not take %1: written three times, it still reads back "
                               "otherwise. The end command was sent. %2 Write again; a radio that fails "
                               "this again needs service.")
            .arg(LanguageLocale(SystemLanguageIndex()).createSeparatedList(outcome.FieldsNotTaken), backup);
    }
    if (outcome.PortLost)
        return Then(SessionText::tr("the port went away while waiting for the reply to %1. Check the cable "
                                    "and its plug, then try again.")
                        .arg(FrameName(outcome.Frame)),
                    PartlyWritten(outcome));
    return Then(Then(Unanswered(outcome), PartlyWritten(outcome)), CableWords(outcome));
}

bool NothingOnLine(const SessionOutcome& outcome)
{
    return outcome.Result == SessionResult::Failure && !outcome.PortLost &&
           outcome.FieldsNotTaken.isEmpty() && outcome.Step == SessionStep::ProgramCommand &&
           std::ranges::all_of(outcome.Line,
                               [](const LineTry& one) { return one.Carried == TryCarried::Nothing; });
}

QString OutcomeSummary(const SessionOutcome& outcome)
{
    if (outcome.Result != SessionResult::Failure || outcome.PortLost || !outcome.FieldsNotTaken.isEmpty()) {
        // Written to follow the port's name; alone, it starts a sentence.
        QString what = OutcomeWhat(outcome);
        if (!what.isEmpty())
            what[0] = what[0].toUpper();
        return what;
    }
    const QString advice = Advice(Seen(outcome), outcome.Step != SessionStep::ProgramCommand);
    return NothingOnLine(outcome) ? Then(SessionText::tr("Nothing came back from the radio."), advice)
                                  : advice;
}
