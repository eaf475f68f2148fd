// How a session ends: completed, failed, or cut short by the port going away.
#include "data/ImageFields.h"
#include "link/ModelCheck.h"
#include "link/RadioSession.h"

void RadioSession::FinishSession(bool ok)
{
    // The end command closes the transfer, but a write that the radio did not take has failed; the
    // port closes as after a write done.
    if (notTakenBlocks != 0) {
        ok = false;
        WaitTimer.stop();
        ClosePort();
    }
    trace.Event(ok ? QStringLiteral("session complete") : QStringLiteral("session failed"));
    if (ok) {
        if (sessionMode == SessionMode::Read)
            CompleteRead();
        else if (sessionMode == SessionMode::Write)
            CompleteWrite();
        else if (sessionMode == SessionMode::Check)
            CompleteCheck();
        return;
    }
    if (sessionMode == SessionMode::None)
        return;
    Report(refused      ? SessionResult::Refused
           : modelError ? SessionResult::ModelError
                        : SessionResult::Failure,
           sessionMode);
}

void RadioSession::CompleteRead()
{
    sessionMode = SessionMode::None;
    WaitTimer.stop();
    BlockAddress = -32;
    ClosePort();
    radioInfo = DecodeInfo(infoImage, codePage, radioInfo);
    emit recordRead(radioInfo, infoImage);
    Report(SessionResult::Complete, SessionMode::Read);
}

void RadioSession::CompleteWrite()
{
    BlockAddress = -32;
    sessionMode = SessionMode::None;
    ClosePort();
    Report(SessionResult::Complete, SessionMode::Write);
}

void RadioSession::PortLost()
{
    // Outside a reply wait (idle, a failed session, a message box open) there is nothing to end:
    // the port is closed and the next press opens it again.
    if (!AwaitingReply && !WaitTimer.isActive())
        return;
    AwaitingReply = false;
    WaitTimer.stop();
    portLost = true;
    // Once the end command is out the transfer is done, as when it goes unanswered; a check is there
    // to find a link that fails, and this one did.
    FinishSession(sessionStep == SessionStep::End && sessionMode != SessionMode::Check);
}

void RadioSession::Report(SessionResult result, SessionMode mode)
{
    SessionOutcome outcome;
    outcome.Result = result;
    outcome.Mode = mode;
    outcome.ComPort = comPort;
    outcome.Device = MSComm1.DevicePath();
    outcome.Step = sessionStep;
    outcome.PortLost = portLost;
    if (notTakenBlocks != 0)
        outcome.FieldsNotTaken = DifferingFields(infoImage, readBackImage, Layout::ImageSize);
    if (mode == SessionMode::Write)
        outcome.BackupPath = backupPath;
    if (result == SessionResult::Failure || result == SessionResult::Refused) {
        outcome.Frame = LastFrame;
        outcome.Tries = int16_t(std::min<int>(RetryCount, 2) + 1);
    }
    if (result == SessionResult::Failure)
        outcome.Line = lineCarried;
    if (result == SessionResult::CannotOpen)
        outcome.Reason = MSComm1.ErrorString();
    if (result == SessionResult::Failure || result == SessionResult::CannotOpen)
        outcome.Cable = MSComm1.Cable();
    if (result == SessionResult::Refused)
        outcome.Reason = refusal;
    if (result == SessionResult::ModelError) {
        outcome.PcType = ToDisplayTypeName(radioInfo.Model);
        outcome.RadioType = ToDisplayTypeName(RadioIdentity);
    }
    emit finished(outcome);
}

bool RadioSession::CheckModel()
{
    WaitTimer.stop();
    bool result = false;
    // A check, as a read, takes any type this program knows.
    if (sessionMode == SessionMode::Read || sessionMode == SessionMode::Check) {
        radioInfo.Model = RadioIdentity;
        result = IsKnownRadioType(radioInfo.Model, RadioIdentity);
    } else if (sessionMode == SessionMode::Write) {
        result = IsSameRadioType(radioInfo.Model, RadioIdentity);
    }
    modelError = !result;
    return result;
}
