// What the session needs from the window, so that it can run without one (tests, tools).
// The window fills these in once, when it is made; an empty hook is skipped.
//
//   WindowHooks.RadioTypeText = [this] { return Combo1[0]->currentText(); };
//   WindowHooks.ShowByData = [this] { ShowByData(); };
//   WindowHooks.GetDataByShow = [this] { GetDataByShow(); };
//
// GetDataByShow runs at step 4 of a write, after blocks 0 to 4 were read. When its band check
// refuses the write it does, in this order: SessionStep := 0; NextStep(-1); WaitTimer().stop();
// its message box; SendEnd(); SendHalted := true; ClosePort(); and returns. The session then
// fails with "Write Failure!" after the held-back block write's three waits.
#pragma once

#include <QString>

#include <functional>

struct WindowHooksType
{
    std::function<QString()> RadioTypeText; // text of Combo1(0), taken at the Write press
    std::function<void()> ShowByData;       // record into the window
    std::function<void()> GetDataByShow;    // window into the record, with the band check
};

extern WindowHooksType WindowHooks;
