#include "link/Port.h"

#include "data/MsgBox.h"
#include "link/CommLink.h"
#include "link/Sequencer.h"
#include "settings/Settings.h"

bool OpenPort()
{
    AwaitingReply = false;
    // A press in the middle of a session: the abandoned frame's wait must not outlive it.
    WaitTimer().stop();
    SerialControl& port = MSComm1();
    if (port.PortOpen())
        port.SetPortOpen(false);
    port.CommPort = ComPortNumber;
    port.Handshaking = 0;
    port.Settings = QString::fromLatin1(LinkSettings);
    port.InputMode = 1;
    port.InputLen = 0;
    port.SetRThreshold(1);
    if (port.SetPortOpen(true))
        return true;
    MsgBox(QStringLiteral("Cannot Open Communication Port."), MsgButtons::Ok, MsgIcon::Critical,
           port.ErrorString());
    return false;
}

void ClosePort()
{
    if (HasCommLink() && MSComm1().PortOpen())
        MSComm1().SetPortOpen(false);
}
