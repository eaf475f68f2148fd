#include "cli/WaitNotice.h"

WaitNotice::WaitNotice(StatusLine& statusLine, std::chrono::milliseconds after, const QString& port,
                       const RadioSession& session)
    : line(statusLine), portName(port)
{
    timer.setSingleShot(true);
    timer.setInterval(after);
    connect(&timer, &QTimer::timeout, this, &WaitNotice::Show);
    connect(&session, &RadioSession::trySent, this,
            [this](const QByteArray&, int16_t number, std::chrono::milliseconds) { TrySent(number); });
    connect(&session, &RadioSession::finished, this, &WaitNotice::Hide);
}

// A first try means the frame before it was answered: its notice goes, and the new frame's wait is
// timed from now. A later try of the same frame shows at once on a notice already shown.
void WaitNotice::TrySent(int16_t number)
{
    tryNumber = number;
    if (number > 1) {
        if (shown)
            Show();
        return;
    }
    if (shown)
        line.Clear();
    shown = false;
    timer.start();
}

void WaitNotice::Show()
{
    line.Show(tr("Waiting for a reply on %1, try %2 of %3 ...").arg(portName).arg(tryNumber).arg(FrameTries));
    shown = true;
}

void WaitNotice::Hide()
{
    timer.stop();
    line.Clear();
    shown = false;
}
