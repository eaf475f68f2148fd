// The session: its start and the step function.
#include "data/ImageFields.h"
#include "link/Frames.h"
#include "link/ModelCheck.h"
#include "link/RadioSession.h"

#include <algorithm>

namespace {
constexpr uint8_t AllWrittenBlocks = 0x1F; // blocks 0 to 4
constexpr int16_t MaxRewrites = 2;

// "block 2", "blocks 0, 2 and 4".
QString BlockNames(uint8_t blocks)
{
    QStringList numbers;
    for (int block = 0; block < Proto::BlockCount; ++block)
        if ((blocks & (1U << block)) != 0)
            numbers << QString::number(block);
    return (numbers.size() == 1 ? QStringLiteral("block ") : QStringLiteral("blocks ")) +
           JoinedNames(numbers);
}
} // namespace

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
    trace.Event(mode == SessionMode::Read    ? QStringLiteral("Read pressed")
                : mode == SessionMode::Write ? QStringLiteral("Write pressed")
                                             : QStringLiteral("check started: no block is read or written"));
    sessionMode = mode;
    SendHalted = false;
    sessionStep = SessionStep::Idle;
    refused = false;
    modelError = false;
    portLost = false;
    lineCarried.clear();
    passBlocks = 0;
    differingBlocks = 0;
    rewriteRound = 0;
    notTakenBlocks = 0;
    backupPath.clear();
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
    if (sessionMode == SessionMode::Check) {
        CheckStep();
        return;
    }
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
    readBackImage = infoImage;
    passBlocks = AllWrittenBlocks;
    WriteBlock(-1);
}

// False when the write must not go on.
bool RadioSession::BackUp(const RadioInfoRecord& record)
{
    if (!writeBackup)
        return true;
    const BackupFileResult saved = writeBackup(record, infoImage);
    const QString& error = saved.Error;
    if (error.isEmpty()) {
        backupPath = saved.Path;
        return true;
    }
    trace.Event(QStringLiteral("backup not saved: %1").arg(error));
    if (!backupRequired)
        return true;
    refusal = tr("The backup could not be saved, so nothing was written: %1").arg(error);
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
    passBlocks = AllWrittenBlocks;
    WriteBlock(-1);
}

// Every block written is read again before the end command. An acknowledgement is one byte that
// names no block, so a late one for a block sent twice is taken for the next block's; and a radio
// may acknowledge a block that it did not keep. Only frames the radio knows go out for this: reads.
void RadioSession::ReadBack()
{
    sessionStep = SessionStep::ReadBack;
    BlockAddress = -32;
    differingBlocks = 0;
    trace.Event(QStringLiteral("reading back %1").arg(BlockNames(passBlocks)));
    ReadBlock(-1);
}

// A block reply of the read-back, already known to be the block asked for.
void RadioSession::CheckReadBack(const QByteArray& reply)
{
    const int block = uint8_t(reply[Proto::BlockNumberAt]);
    readBackImage = StoreBlock(readBackImage, reply);
    const auto offset = size_t(block * Proto::BlockDataSize);
    if (!std::equal(infoImage.begin() + offset, infoImage.begin() + offset + Proto::BlockDataSize,
                    readBackImage.begin() + offset)) {
        differingBlocks = uint8_t(differingBlocks | (1U << block));
        trace.Event(QStringLiteral("block %1 read back otherwise than written").arg(block));
    }
}

// A block that read back otherwise is written and read back again, twice at most: a frame lost or
// refused once on the line is then put right. A block that still differs fails the write; the radio
// still gets the end command, so that it leaves programming mode.
void RadioSession::ReadBackDone()
{
    if (differingBlocks == 0) {
        trace.Event(QStringLiteral("read back: every block as written"));
        FinishTransfer();
        return;
    }
    if (rewriteRound < MaxRewrites) {
        ++rewriteRound;
        trace.Event(QStringLiteral("read back: %1 otherwise than written; writing again, round %2 of %3")
                        .arg(BlockNames(differingBlocks))
                        .arg(rewriteRound)
                        .arg(MaxRewrites));
        passBlocks = differingBlocks;
        sessionStep = SessionStep::Blocks;
        BlockAddress = -32;
        WriteBlock(-1);
        return;
    }
    notTakenBlocks = differingBlocks;
    trace.Event(QStringLiteral("read back: %1 still otherwise than written; the write failed")
                    .arg(BlockNames(notTakenBlocks)));
    FinishTransfer();
}

void RadioSession::FinishTransfer()
{
    sessionStep = SessionStep::End;
    SendEnd();
}
