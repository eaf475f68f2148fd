#include "link/SessionMessages.h"

#include "data/ImageFields.h"
#include "link/Frames.h"

namespace {

// The frame in words: "the read request for block 5".
QString FrameName(const QByteArray& frame)
{
    if (frame == Proto::ProgramCommand)
        return QStringLiteral("the program command");
    if (frame == Proto::EndCommand)
        return QStringLiteral("the end command");
    if (frame.size() == 1 && uint8_t(frame[0]) == Proto::IdentRequest)
        return QStringLiteral("the identity request");
    if (frame.size() == Proto::ReadRequestSize && uint8_t(frame[0]) == Proto::ReadHead)
        return QStringLiteral("the read request for block %1").arg(uint8_t(frame[4]));
    if (frame.size() == Proto::BlockFrameSize && uint8_t(frame[0]) == Proto::BlockHead)
        return QStringLiteral("the block write for block %1").arg(uint8_t(frame[4]));
    return QStringLiteral("the last frame");
}

// A port given by its device alone has no COM number.
QString Port(const SessionOutcome& outcome)
{
    const QString name = QStringLiteral("COM%1").arg(outcome.ComPort);
    if (outcome.ComPort <= 0 && !outcome.Device.isEmpty())
        return outcome.Device;
    return outcome.Device.isEmpty() ? name : QStringLiteral("%1 (%2)").arg(name, outcome.Device);
}

// Where the radio as it was before this write is kept; empty when no backup was saved.
QString BackupKept(const SessionOutcome& outcome)
{
    if (outcome.BackupPath.isEmpty())
        return {};
    return QStringLiteral("The automatic backup %1 holds the radio as it was before this write.")
        .arg(outcome.BackupPath);
}

// Stopped among the block writes or their read-back, the radio may hold part of the write.
QString PartlyWritten(const SessionOutcome& outcome)
{
    if (outcome.Mode != SessionMode::Write ||
        (outcome.Step != SessionStep::Blocks && outcome.Step != SessionStep::ReadBack))
        return {};
    QString text = QStringLiteral(" Some blocks may have been written before it stopped; read the radio to "
                                  "see what it holds.");
    if (const QString kept = BackupKept(outcome); !kept.isEmpty())
        text += u' ' + kept;
    return text;
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
            return QStringLiteral("%1: the radio reports the type %2, which this program does not know. "
                                  "Nothing was read.")
                .arg(Port(outcome), outcome.RadioType);
        return QStringLiteral("%1: the radio is a %2, but %3 is chosen as the radio type. Nothing was read "
                              "or written; choose the radio's type and try again.")
            .arg(Port(outcome), outcome.RadioType, outcome.PcType);
    case SessionResult::Refused:
        if (!outcome.Reason.isEmpty())
            return QStringLiteral("%1: %2").arg(Port(outcome), outcome.Reason);
        return QStringLiteral("%1: a radio in the 66 - 88 MHz band cannot be given another band. The end "
                              "command was sent and no block was written; choose the radio's own band to "
                              "write the other fields.")
            .arg(Port(outcome));
    case SessionResult::Failure:
        break;
    }
    if (!outcome.FieldsNotTaken.isEmpty()) {
        QStringList fields;
        for (const QString& field : outcome.FieldsNotTaken)
            fields << QStringLiteral("the ") + field;
        QString backup = BackupKept(outcome);
        if (backup.isEmpty())
            backup =
                QStringLiteral("No automatic backup of the radio as it was before this write was saved.");
        return QStringLiteral("%1: the radio did not take %2: written three times, it still reads back "
                              "otherwise. The end command was sent. %3 Write again; a radio that fails "
                              "this again needs service.")
            .arg(Port(outcome), JoinedNames(fields), backup);
    }
    if (outcome.PortLost)
        return QStringLiteral("%1 went away while waiting for the reply to %2. Check the cable and its plug, "
                              "then try again.")
                   .arg(Port(outcome), FrameName(outcome.Frame)) +
               PartlyWritten(outcome);
    QString detail = QStringLiteral("%1: no reply to %2 after %3 tries.")
                         .arg(Port(outcome), FrameName(outcome.Frame))
                         .arg(outcome.Tries);
    if (outcome.Step == SessionStep::ProgramCommand)
        detail += QStringLiteral(" Check that the radio is switched on and connected by its programming "
                                 "cable to this port, and that the right COM port is chosen.");
    else
        detail += QStringLiteral(" The radio answered at first and then stopped: check that the cable sits "
                                 "firmly and try again.");
    return detail + PartlyWritten(outcome);
}
