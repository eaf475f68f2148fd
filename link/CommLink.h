// Owner of the serial control MSComm1 and the reply timer WaitTimer. The window holds one; tests
// make their own. The session procedures reach the live one (the one made last) through MSComm1()
// and WaitTimer().
//
// The window:   CommLink link{this};   (or new CommLink(this)), made before the first press;
//               its Read and Write buttons' clicked() forward to Command1_Click() and Command2_Click();
//               WindowHooks filled in (link/WindowHooks.h); ClosePort() when it unloads.
// The link connects WaitTimer's timeout to WaitTimer_Timer, MSComm1's OnComm to MSComm1_OnComm and
// MSComm1's PortLost to PortLost itself.
#pragma once

#include "link/SerialControl.h"

#include <QObject>
#include <QTimer>

class CommLink : public QObject
{
    Q_OBJECT
public:
    explicit CommLink(QObject* parent = nullptr);
    ~CommLink() override;

    SerialControl MSComm1;
    QTimer WaitTimer;
};

SerialControl& MSComm1(); // aborts when no CommLink exists
QTimer& WaitTimer();      // aborts when no CommLink exists
bool HasCommLink();
