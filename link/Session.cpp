// The session: the two presses and the step function.
#include "data/ModData.h"
#include "link/CommLink.h"
#include "link/Frames.h"
#include "link/LinkTrace.h"
#include "link/ModelCheck.h"
#include "link/Port.h"
#include "link/Sequencer.h"
#include "link/WindowHooks.h"

int16_t SessionMode = 0;
int16_t SessionStep = 0;
int32_t BlockAddress = -32;
bool SendHalted = false;
QString RadioIdentity;

namespace {
constexpr int16_t ReadMode = 1;
constexpr int16_t WriteMode = 2;

void StartSession(int16_t mode)
{
    RestartLinkClock();
    TraceEvent(mode == ReadMode ? QStringLiteral("Read pressed") : QStringLiteral("Write pressed"));
    SessionMode = mode;
    SendHalted = false;
    SessionStep = 0;
    if (mode == WriteMode && WindowHooks.RadioTypeText)
        RadioInfo.Model = WindowHooks.RadioTypeText();
    if (!OpenPort()) {
        SessionMode = 0;
        return;
    }
    BlockAddress = -32;
    SendProgramCommand();
}
} // namespace

void Command1_Click()
{
    StartSession(ReadMode);
}

void Command2_Click()
{
    StartSession(WriteMode);
}

void NextStep(int16_t step)
{
    WaitTimer().stop();
    if (step > 0)
        SessionStep = step;
    const bool write = SessionMode == WriteMode;
    switch (SessionStep) {
    case 1:
        SessionStep = 2;
        SendIdentRequest();
        break;
    case 2:
        if (!CheckModel()) {
            FinishSession(false);
            break;
        }
        SessionStep = 3;
        ReadBlock(write ? 0 : -1);
        break;
    case 3:
        SessionStep = 31;
        ReadBlock(write ? 32 : -1);
        break;
    case 31:
        if (write) {
            SessionStep = 32;
            ReadBlock(64);
        } else {
            SessionStep = 4;
            ReadBlock(-1);
        }
        break;
    // A write also reads blocks 3 and 4 before writing them back, so that the bytes it does not
    // change (the start of the maintenance description) go back as this radio holds them.
    case 32:
        SessionStep = 33;
        ReadBlock(96);
        break;
    case 33:
        SessionStep = 4;
        ReadBlock(128);
        break;
    case 4:
        SessionStep = 5;
        if (write) {
            if (WindowHooks.GetDataByShow)
                WindowHooks.GetDataByShow();
            EncodeInfo();
            WriteBlock(-1);
        } else {
            ReadBlock(-1);
        }
        break;
    case 5:
        if (write)
            WriteBlock(-1);
        else
            ReadBlock(-1);
        break;
    case 69:
        FinishSession(true);
        break;
    default:
        break;
    }
}

void FinishTransfer()
{
    SessionStep = 69;
    SendEnd();
}
