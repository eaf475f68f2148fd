// Owner of the serial control MSComm1 and the reply timer WaitTimer. The window holds one; tests
// make their own. The session procedures reach the live one through MSComm1() and WaitTimer().
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

SerialControl& MSComm1();
QTimer& WaitTimer();
bool HasCommLink();
