// What the session needs from the window, so that it can run without one (tests, tools).
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
