#include "link/SessionMessages.h"

#include "link/CableText.h"
#include "link/Frames.h"
#include "settings/SystemLanguage.h"

#include <QCoreApplication>

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
    return outcome.Device.isEmpty() ? name : QStringLiteral("%1 (%2)").arg(name, outcome.Device);
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

QString OutcomeDetail(const SessionOutcome& outcome)
{
    switch (outcome.Result) {
    case SessionResult::Complete:
        return {};
    case SessionResult::CannotOpen:
        return outcome.Reason;
    case SessionResult::ModelError:
        if (outcome.Mode == SessionMode::Read)
            return SessionText::tr("%1: the radio reports the type %2, which this program does not know. "
                                   "Nothing was read.")
                .arg(Port(outcome), outcome.RadioType);
        return SessionText::tr("%1: the radio is a %2, but %3 is chosen as the radio type. Nothing was read "
                               "or written; choose the radio's type and try again.")
            .arg(Port(outcome), outcome.RadioType, outcome.PcType);
    case SessionResult::Refused:
        if (!outcome.Reason.isEmpty())
            return SessionText::tr("%1: %2", "the port, and why the write was refused")
                .arg(Port(outcome), outcome.Reason);
        return SessionText::tr("%1: a radio in the 66 - 88 MHz band cannot be given another band. The end "
                               "command was sent and no block was written; choose the radio's own band to "
                               "write the other fields.")
            .arg(Port(outcome));
    case SessionResult::Failure:
        break;
    }
    if (!outcome.FieldsNotTaken.isEmpty()) {
        QString backup = BackupKept(outcome);
        if (backup.isEmpty())
            backup =
                SessionText::tr("No automatic backup of the radio as it was before this write was saved.");
        return SessionText::tr("%1: the radio did not take %2: written three times, it still reads back "
                               "otherwise. The end command was sent. %3 Write again; a radio that fails "
                               "this again needs service.")
            .arg(Port(outcome),
                 LanguageLocale(SystemLanguageIndex()).createSeparatedList(outcome.FieldsNotTaken), backup);
    }
    if (outcome.PortLost)
        return Then(SessionText::tr("%1 went away while waiting for the reply to %2. Check the cable and its "
                                    "plug, then try again.")
                        .arg(Port(outcome), FrameName(outcome.Frame)),
                    PartlyWritten(outcome));
    const QString detail =
        outcome.Step == SessionStep::ProgramCommand
            ? SessionText::tr("%1: no reply to %2 after %n tries. Check that the radio is switched on and "
                              "connected by its programming cable to this port, and that the right COM port "
                              "is chosen.",
                              nullptr, outcome.Tries)
            : SessionText::tr("%1: no reply to %2 after %n tries. The radio answered at first and then "
                              "stopped: check that the cable sits firmly and try again.",
                              nullptr, outcome.Tries);
    return Then(Then(detail.arg(Port(outcome), FrameName(outcome.Frame)), PartlyWritten(outcome)),
                CableDetail(outcome.Cable, outcome.Device));
}
