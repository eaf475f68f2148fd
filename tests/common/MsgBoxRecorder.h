// Answers the window's message boxes in place of the dialog, and records them.
#pragma once

#include "window/FrmMain.h"
#include "window/MsgBox.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QList>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <functional>

struct RecordedBox
{
    QString text;
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
    QString detail;
    qint64 ms = 0; // since the recorder started or restarted
    int stamp = 0; // what Stamp gave when the box came up (say, the frames the radio had received)
    QString informative;
};

class MsgBoxRecorder
{
public:
    QList<RecordedBox> boxes;
    QList<MsgResult> answers; // for the boxes to come, in order; Ok when none is left
    std::function<int()> Stamp;

    MsgBoxRecorder() { clock.start(); }
    MsgBoxRecorder(const MsgBoxRecorder&) = delete;
    MsgBoxRecorder& operator=(const MsgBoxRecorder&) = delete;

    // From now on the window's boxes come here; the recorder must outlive the window or be detached.
    void Attach(FrmMain& frm)
    {
        frm.SetMsgBoxHandler([this](const MsgRequest& request) {
            boxes.append({request.text, request.buttons, request.icon, request.detail, clock.elapsed(),
                          Stamp ? Stamp() : 0, request.informative});
            if (waiting && boxes.size() >= waitingFor)
                waiting->quit();
            return answers.isEmpty() ? MsgResult::Ok : answers.takeFirst();
        });
    }

    void Restart() { clock.restart(); }

    QStringList Texts() const
    {
        QStringList texts;
        for (const RecordedBox& box : boxes)
            texts << box.text;
        return texts;
    }

    // Runs the event loop until `count` boxes have come; false when they do not within the time.
    // It wakes when a box comes, rather than polling.
    bool WaitFor(int count, int timeoutMs)
    {
        if (boxes.size() >= count)
            return true;
        QEventLoop loop;
        QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
        waiting = &loop;
        waitingFor = count;
        loop.exec();
        waiting = nullptr;
        // As QTest::qWait does: what was deleted later is gone now.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return boxes.size() >= count;
    }

private:
    QElapsedTimer clock;
    QEventLoop* waiting = nullptr; // while WaitFor runs
    qsizetype waitingFor = 0;
};
