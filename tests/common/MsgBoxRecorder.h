// Answers the window's message boxes in place of the dialog, and records them.
#pragma once

#include "window/FrmMain.h"
#include "window/MsgBox.h"

#include <QElapsedTimer>
#include <QList>
#include <QStringList>
#include <QTest>

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
    bool WaitFor(int count, int timeoutMs) const
    {
        QElapsedTimer waited;
        waited.start();
        while (boxes.size() < count && waited.elapsed() < timeoutMs)
            QTest::qWait(5);
        return boxes.size() >= count;
    }

private:
    QElapsedTimer clock;
};
