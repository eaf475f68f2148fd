#include "link/SessionMessages.h"

#include "link/CableText.h"
#include "link/Frames.h"
#include "settings/SystemLanguage.h"

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

// One sentence after another: English puts a space between them, Chinese none.
QString Then(const QString& first, const QString& second)
{
    if (second.isEmpty())
        return first;
    return SessionText::tr("%1 %2", "one sentence followed by another").arg(first, second);
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

// The frame got no acceptable reply: what the line carried on its tries says why.
QString Unanswered(const SessionOutcome& outcome)
{
    const QString frame = FrameName(outcome.Frame);
    // The radio answered earlier frames: it is there, on this port, at this speed.
    const bool answeredBefore = outcome.Step != SessionStep::ProgramCommand;
    const QString firstBytes = QString::fromLatin1(
        outcome.Received.first(std::min<qsizetype>(outcome.Received.size(), 8)).toHex(' ').toUpper());
    switch (outcome.Line) {
    case LineCarried::Nothing:
        break;
    case LineCarried::Echo:
        return SessionText::tr("no reply to %1 after %n tries: each time only the frame itself came back. "
                               "The cable works up to its plug, but no radio answered: check that the plug "
                               "is fully in the radio's socket and that the radio is switched on.",
                               nullptr, outcome.Tries)
            .arg(frame);
    case LineCarried::NegativeReplies:
        return SessionText::tr("the radio refused %1 with a negative reply on each of %n tries. A radio "
                               "answers, but does not take this frame: switch the radio off and on again, "
                               "then try again; a radio that still refuses needs service.",
                               nullptr, outcome.Tries)
            .arg(frame);
    case LineCarried::Unreadable:
        if (answeredBefore)
            return SessionText::tr("no whole reply to %1 after %n tries: the radio answered at first, then "
                                   "sent bytes that make no reply (first bytes: %2). Check that the cable "
                                   "sits firmly and try again.",
                                   nullptr, outcome.Tries)
                .arg(frame, firstBytes);
        return SessionText::tr("no reply to %1 after %n tries, only bytes that make no reply (first bytes: "
                               "%2). Another kind of radio, a radio at another speed or a faulty cable "
                               "sends such: check that the radio is of a type this program knows, and try "
                               "another cable.",
                               nullptr, outcome.Tries)
            .arg(frame, firstBytes);
    }
    if (answeredBefore)
        return SessionText::tr("no reply to %1 after %n tries. The radio answered at first and then "
                               "stopped: check that the cable sits firmly and try again.",
                               nullptr, outcome.Tries)
            .arg(frame);
    return SessionText::tr("no reply to %1 after %n tries. Check that the radio is switched on and "
                           "connected by its programming cable to this port, and that the right COM port "
                           "is chosen.",
                           nullptr, outcome.Tries)
        .arg(frame);
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
    return Then(Then(Unanswered(outcome), PartlyWritten(outcome)),
                CableDetail(outcome.Cable, outcome.Device));
}
