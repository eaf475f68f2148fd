// The real window for tests that run it offscreen, and the user's way of choosing in its lists.
#pragma once

#include "MsgBoxRecorder.h"
#include "settings/Settings.h"
#include "window/FrmMain.h"
#include "window/SetLanguage.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QStringList>
#include <QTest>

#include <memory>
#include <optional>

// Creates and shows FrmMain as the program does, with `settings`, its message boxes going to `msgs` (or,
// without one, to an answer of OK, so that no test ever waits for a real dialog). With `active` it also waits
// until the window is the active one, for keys.
inline void StartFrmMain(std::unique_ptr<FrmMain>& frm, const ProgramSettings& settings,
                         MsgBoxRecorder* msgs = nullptr, bool active = false,
                         std::optional<AnsiCodePage> codePage = std::nullopt)
{
    frm = std::make_unique<FrmMain>(nullptr, settings, codePage);
    if (msgs != nullptr)
        msgs->Attach(*frm);
    else
        frm->SetMsgBoxHandler([](const MsgRequest&) { return MsgResult::Ok; });
    frm->show();
    if (active) {
        frm->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frm.get()));
    } else {
        QVERIFY(QTest::qWaitForWindowExposed(frm.get()));
    }
}

inline QStringList Entries(const QComboBox* list)
{
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        entries << list->itemText(i);
    return entries;
}

// The user opens the list, moves to the entry and presses Enter, the selected entry included.
inline void UserChooses(QComboBox* list, int position)
{
    list->showPopup();
    QAbstractItemView* view = list->view();
    view->setCurrentIndex(list->model()->index(position, 0));
    QTest::keyClick(view, Qt::Key_Return);
}
