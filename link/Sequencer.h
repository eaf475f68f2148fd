// The session sequencer: transmission layer (send, wait, retry) and the session steps.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// Transmission layer.
extern int16_t RetryCount;
extern int16_t ReplyLength;
extern QByteArray LastFrame;
extern bool AwaitingReply;

// Session.
extern int16_t SessionMode; // 0 none, 1 read, 2 write
extern int16_t SessionStep;
extern int32_t BlockAddress;
extern bool SendHalted;
extern QString RadioIdentity;

void Command1_Click(); // Read
void Command2_Click(); // Write
void MSComm1_OnComm();
void WaitTimer_Timer();
void SendFrame(int16_t replyLength, const QByteArray& frame, bool longWait);
bool ResendFrame();
void NextStep(int16_t step);
void FinishTransfer();
void FinishSession(bool ok);
void CompleteRead();
void CompleteWrite();

// The port went away in the middle of a session: ends it as a failure.
void PortLost();

// Session and transmission variables back to their start-up values. For tests.
void ResetSession();
