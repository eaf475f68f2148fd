// Opening and closing the serial port with the link settings.
#include "link/RadioSession.h"

bool RadioSession::OpenPort(int16_t portNumber)
{
    AwaitingReply = false;
    // A press in the middle of a session: the abandoned frame's wait must not outlive it.
    WaitTimer.stop();
    if (MSComm1.PortOpen())
        MSComm1.SetPortOpen(false);
    MSComm1.CommPort = portNumber;
    MSComm1.Handshaking = 0;
    MSComm1.Settings = QString::fromLatin1(LinkSettings);
    MSComm1.InputMode = 1;
    MSComm1.InputLen = 0;
    MSComm1.SetRThreshold(1);
    return MSComm1.SetPortOpen(true);
}

void RadioSession::ClosePort()
{
    if (MSComm1.PortOpen())
        MSComm1.SetPortOpen(false);
}
