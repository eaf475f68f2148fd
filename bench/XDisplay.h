// A virtual X server of the benchmark's own, and what it tells about other programs' windows: when
// a top-level window is mapped, when something is first drawn into one (XDamage), and a pointer
// click at a place (XTest). Nothing here needs the watched program's help.
#pragma once

#include <QString>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

struct xcb_connection_t;

class XDisplay
{
public:
    using Clock = std::chrono::steady_clock;

    // Starts Xvfb on a free display and connects to it; Error() says why not.
    XDisplay();
    ~XDisplay();
    XDisplay(const XDisplay&) = delete;
    XDisplay& operator=(const XDisplay&) = delete;

    bool Ready() const { return connection != nullptr && error.isEmpty(); }
    QString Error() const { return error; }
    QString Name() const { return name; } // ":N", for DISPLAY

    struct Window
    {
        uint32_t id = 0;
        Clock::time_point createdAt; // the X server told of its making
        Clock::time_point mappedAt;
        Clock::time_point paintedAt; // the first damage to its contents
    };
    // Forgets the windows seen so far: what follows belongs to the next program.
    void Reset();
    // Waits for the first drawing into a top-level window made since the last Reset.
    std::optional<Window> WaitForFirstPaint(Clock::time_point deadline);
    // Waits for one more top-level window to be mapped.
    std::optional<Window> WaitForMap(Clock::time_point deadline);
    // Waits for the first drawing into this window, made since the last Reset.
    std::optional<Window> WaitForPaintOf(uint32_t window, Clock::time_point deadline);
    // Asks the window to close as a window manager would (WM_DELETE_WINDOW), and waits until it is
    // unmapped; false at the deadline.
    bool CloseWindow(uint32_t window, Clock::time_point deadline);
    // The window's place and size on the screen.
    struct Geometry
    {
        int x = 0, y = 0, width = 0, height = 0;
    };
    std::optional<Geometry> WindowGeometry(uint32_t window);
    // Presses and releases the left button at a place on the screen.
    void Click(int x, int y);

private:
    struct State;
    bool Dispatch(Clock::time_point deadline); // one event, false at the deadline
    pid_t server = -1;
    QString name;
    QString error;
    xcb_connection_t* connection = nullptr;
    std::unique_ptr<State> state;
};
