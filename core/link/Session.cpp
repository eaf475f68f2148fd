// The session: its start and the step function.
#include "link/ModelCheck.h"
#include "link/RadioSession.h"

RadioSession::RadioSession(QObject* parent, LinkTimings linkTimings) : QObject(parent), timings(linkTimings)
{
    MSComm1.SetTrace(&trace);
    // Every send sets its own interval; this one is only the resting value.
    WaitTimer.setInterval(500);
    WaitTimer.setTimerType(Qt::PreciseTimer);
    // Thin handlers: each event goes to the procedure that deals with it.
    connect(&WaitTimer, &QTimer::timeout, this, &RadioSession::WaitTimer_Timer);
    connect(&MSComm1, &SerialControl::OnComm, this, &RadioSession::MSComm1_OnComm);
    connect(&MSComm1, &SerialControl::PortLost, this, &RadioSession::PortLost);
}

RadioSession::~RadioSession()
{
    WaitTimer.stop();
    MSComm1.SetTrace(nullptr);
}

void RadioSession::SetPortResolver(SerialControl::PortResolver resolver)
{
    MSComm1.SetPortResolver(std::move(resolver));
}

void RadioSession::startRead(int16_t portNumber)
{
    StartSession(SessionMode::Read, portNumber);
}

void RadioSession::startWrite(int16_t portNumber, const QString& radioTypeText)
{
    // The model check compares the radio with this type.
    radioInfo.Model = radioTypeText;
    StartSession(SessionMode::Write, portNumber);
}

void RadioSession::StartSession(SessionMode mode, int16_t portNumber)
{
    trace.Restart();
    trace.Event(mode == SessionMode::Read ? QStringLiteral("Read pressed") : QStringLiteral("Write pressed"));
    sessionMode = mode;
    SendHalted = false;
    sessionStep = SessionStep::Idle;
    refused = false;
    modelError = false;
    portLost = false;
    readBackBlock = -1;
    refusal.clear();
    comPort = portNumber;
    if (!OpenPort(portNumber)) {
        sessionMode = SessionMode::None;
        Report(SessionResult::CannotOpen, mode);
        return;
    }
    BlockAddress = -32;
    SendProgramCommand();
}

void RadioSession::Abandon()
{
    WaitTimer.stop();
    AwaitingReply = false;
    ClosePort();
}

void RadioSession::NextStep(SessionStep step)
{
    WaitTimer.stop();
    sessionStep = step;
    const bool write = sessionMode == SessionMode::Write;
    switch (sessionStep) {
    case SessionStep::ProgramCommand:
        sessionStep = SessionStep::Identity;
        SendIdentRequest();
        break;
    case SessionStep::Identity:
        if (!CheckModel()) {
            FinishSession(false);
            break;
        }
        sessionStep = SessionStep::Block0;
        ReadBlock(write ? 0 : -1);
        break;
    case SessionStep::Block0:
        sessionStep = SessionStep::Block1;
        ReadBlock(write ? 32 : -1);
        break;
    case SessionStep::Block1:
        if (write) {
            sessionStep = SessionStep::Block2;
            ReadBlock(64);
        } else {
            sessionStep = SessionStep::Block4;
            ReadBlock(-1);
        }
        break;
    case SessionStep::Block2:
        sessionStep = SessionStep::Block3;
        ReadBlock(96);
        break;
    case SessionStep::Block3:
        sessionStep = SessionStep::Block4;
        ReadBlock(128);
        break;
    case SessionStep::Block4:
        sessionStep = SessionStep::Blocks;
        if (write)
            CollectWriteFields();
        else
            ReadBlock(-1);
        break;
    case SessionStep::Blocks:
        if (write)
            WriteBlock(-1);
        else
            ReadBlock(-1);
        break;
    case SessionStep::ReadBack:
        ReadBlock(-1);
        break;
    case SessionStep::End:
        FinishSession(true);
        break;
    case SessionStep::Idle:
        break;
    }
}

// The write's blocks are read: the owner gives the fields to write, or refuses the write. The reply
// timer is stopped and no reply is awaited while it decides.
void RadioSession::CollectWriteFields()
{
    const RadioInfoRecord asRead = radioInfo;
    const WriteDecision decision = askWriteFields ? askWriteFields(radioInfo, infoImage)
                                                  : WriteDecision{false, radioInfo, TextFieldSet::All(), {}};
    radioInfo = decision.Fields;
    if (decision.Refuse || !BackUp(asRead)) {
        RefuseWrite();
        return;
    }
    infoImage =
        decision.Image ? *decision.Image : EncodeInfo(infoImage, radioInfo, codePage, decision.Encode);
    WriteBlock(-1);
}

// False when the write must not go on.
bool RadioSession::BackUp(const RadioInfoRecord& record)
{
    if (!writeBackup)
        return true;
    const QString error = writeBackup(record, infoImage);
    if (error.isEmpty())
        return true;
    trace.Event(QStringLiteral("backup not saved: %1").arg(error));
    if (!backupRequired)
        return true;
    refusal = QStringLiteral("The backup could not be saved, so nothing was written: %1").arg(error);
    return false;
}

// The end command still goes out so the radio leaves programming mode, and the port closes. The first
// block write is prepared and its wait armed, but held back: nothing answers it, and the session
// ends as refused after its three waits.
void RadioSession::RefuseWrite()
{
    refused = true;
    sessionStep = SessionStep::Idle;
    SendEnd();
    SendHalted = true;
    ClosePort();
    WriteBlock(-1);
}

// Every block written is read again before the end command. An acknowledgement is one byte that
// names no block, so a late one for a block sent twice is taken for the next block's; and a radio
// may acknowledge a block that it did not keep.
void RadioSession::ReadBack()
{
    sessionStep = SessionStep::ReadBack;
    BlockAddress = -32;
    ReadBlock(-1);
}

// The radio still leaves programming mode; the answered end command then ends the write as failed.
void RadioSession::ReadBackDiffers(int16_t block)
{
    readBackBlock = block;
    trace.Event(QStringLiteral("block %1 read back otherwise than written").arg(block));
    FinishTransfer();
}

void RadioSession::FinishTransfer()
{
    sessionStep = SessionStep::End;
    SendEnd();
}
