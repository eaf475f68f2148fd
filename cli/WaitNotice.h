// Shows on a terminal's status line that a session waits for a reply, once a frame has waited a
// while: on which port, and which try it is. Cleared when the reply comes or the session ends.
#pragma once

#include "cli/StatusLine.h"
#include "link/RadioSession.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstdint>

class WaitNotice : public QObject
{
    Q_OBJECT
public:
    WaitNotice(StatusLine& line, std::chrono::milliseconds after, const QString& portName,
               const RadioSession& session);

private:
    void TrySent(int16_t tryNumber);
    void Show();
    void Hide();

    StatusLine& line;
    QString portName;
    QTimer timer;
    int16_t tryNumber = 0;
    bool shown = false;
};
