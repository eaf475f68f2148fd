#include "link/CommLink.h"

#include "link/Sequencer.h"

#include <QtGlobal>

namespace {
CommLink* liveLink = nullptr;
}

CommLink::CommLink(QObject* parent) : QObject(parent)
{
    // Every send sets its own interval; this one is only the resting value.
    WaitTimer.setInterval(500);
    WaitTimer.setTimerType(Qt::PreciseTimer);
    // Thin handlers: each event goes to the procedure that deals with it.
    connect(&WaitTimer, &QTimer::timeout, this, [] { WaitTimer_Timer(); });
    connect(&MSComm1, &SerialControl::OnComm, this, [] { MSComm1_OnComm(); });
    connect(&MSComm1, &SerialControl::PortLost, this, [] { PortLost(); });
    liveLink = this;
}

CommLink::~CommLink()
{
    WaitTimer.stop();
    if (liveLink == this)
        liveLink = nullptr;
}

SerialControl& MSComm1()
{
    if (!liveLink)
        qFatal("MSComm1: no CommLink exists");
    return liveLink->MSComm1;
}

QTimer& WaitTimer()
{
    if (!liveLink)
        qFatal("WaitTimer: no CommLink exists");
    return liveLink->WaitTimer;
}

bool HasCommLink()
{
    return liveLink != nullptr;
}
