// How a session ends: completed, failed, or cut short by the port going away.
#include "data/ModData.h"
#include "data/MsgBox.h"
#include "link/CommLink.h"
#include "link/LinkTrace.h"
#include "link/Port.h"
#include "link/Sequencer.h"
#include "link/WindowHooks.h"

void FinishSession(bool ok)
{
    TraceEvent(ok ? QStringLiteral("session complete") : QStringLiteral("session failed"));
    if (ok) {
        if (SessionMode == 1)
            CompleteRead();
        else if (SessionMode == 2)
            CompleteWrite();
        return;
    }
    if (SessionMode == 1)
        MsgBox(QStringLiteral("Read Failure!"));
    else if (SessionMode == 2)
        MsgBox(QStringLiteral("Write Failure!"));
}

void CompleteRead()
{
    SessionMode = 0;
    WaitTimer().stop();
    BlockAddress = -32;
    ClosePort();
    DecodeInfo();
    if (WindowHooks.ShowByData)
        WindowHooks.ShowByData();
    MsgBox(QStringLiteral("Read Complete!"));
}

void CompleteWrite()
{
    BlockAddress = -32;
    SessionMode = 0;
    ClosePort();
    MsgBox(QStringLiteral("Write Complete!"));
}

void PortLost()
{
    // Outside a reply wait (idle, a failed session, a message box open) there is nothing to end:
    // the port is closed and the next press opens it again.
    if (!AwaitingReply && !WaitTimer().isActive())
        return;
    AwaitingReply = false;
    WaitTimer().stop();
    // Once the end command is out the transfer is done, as when it goes unanswered.
    FinishSession(SessionStep == 69);
}

void ResetSession()
{
    RetryCount = 0;
    ReplyLength = 0;
    LastFrame.clear();
    AwaitingReply = false;
    SessionMode = 0;
    SessionStep = 0;
    BlockAddress = -32;
    SendHalted = false;
    RadioIdentity.clear();
    if (HasCommLink())
        WaitTimer().stop();
}
