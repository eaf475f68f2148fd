#include "XDisplay.h"

#include <QByteArray>
#include <QList>

#include <xcb/damage.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

struct XDisplay::State
{
    xcb_window_t root = 0;
    uint8_t damageEvent = 0;
    QList<Window> windows; // top-level windows made since the last Reset
    QList<Window> mapped;  // not yet handed out by WaitForMap
    QList<uint32_t> unmapped;
    std::optional<Window> painted;
};

namespace {

// Xvfb writes the number of the display it took, then a newline, to this descriptor.
QString StartServer(pid_t& pid, QString& error)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        error = QStringLiteral("no pipe for Xvfb");
        return {};
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const char* argv[] = {"Xvfb", "-displayfd",   "3",    "-nolisten", "tcp", "-screen",
                          "0",    "1280x1024x24", nullptr};
    const int spawned = posix_spawnp(&pid, "Xvfb", &actions, nullptr, const_cast<char**>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    if (spawned != 0) {
        ::close(fds[0]);
        pid = -1;
        error = QStringLiteral("Xvfb is not installed (package xvfb)");
        return {};
    }
    QByteArray number;
    pollfd wait{fds[0], POLLIN, 0};
    char c = 0;
    while (::poll(&wait, 1, 10'000) > 0 && ::read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    ::close(fds[0]);
    if (number.isEmpty()) {
        error = QStringLiteral("Xvfb did not start");
        return {};
    }
    return QStringLiteral(":") + QString::fromLatin1(number);
}

} // namespace

XDisplay::XDisplay() : state(std::make_unique<State>())
{
    name = StartServer(server, error);
    if (name.isEmpty())
        return;
    connection = xcb_connect(name.toLatin1().constData(), nullptr);
    if (xcb_connection_has_error(connection)) {
        error = QStringLiteral("cannot connect to the virtual X server");
        return;
    }
    state->root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(connection, &xcb_damage_id);
    const xcb_query_extension_reply_t* test = xcb_get_extension_data(connection, &xcb_test_id);
    if (!damage || !damage->present || !test || !test->present) {
        error = QStringLiteral("the X server lacks the DAMAGE or XTEST extension");
        return;
    }
    state->damageEvent = damage->first_event + XCB_DAMAGE_NOTIFY;
    free(xcb_damage_query_version_reply(connection, xcb_damage_query_version(connection, 1, 1), nullptr));
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, state->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);
}

XDisplay::~XDisplay()
{
    if (connection)
        xcb_disconnect(connection);
    if (server > 0) {
        ::kill(server, SIGTERM);
        ::waitpid(server, nullptr, 0);
    }
}

void XDisplay::Reset()
{
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection))
        free(event);
    state->windows.clear();
    state->mapped.clear();
    state->unmapped.clear();
    state->painted.reset();
}

bool XDisplay::Dispatch(Clock::time_point deadline)
{
    xcb_generic_event_t* event = xcb_poll_for_event(connection);
    while (!event) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0 || xcb_connection_has_error(connection))
            return false;
        pollfd wait{xcb_get_file_descriptor(connection), POLLIN, 0};
        ::poll(&wait, 1, int(std::min<qint64>(left.count() + 1, 1000)));
        event = xcb_poll_for_event(connection);
    }
    const Clock::time_point now = Clock::now();
    const uint8_t type = event->response_type & 0x7f;
    if (type == XCB_CREATE_NOTIFY) {
        const auto* created = reinterpret_cast<xcb_create_notify_event_t*>(event);
        if (created->parent == state->root) {
            // Watched from its making, before anything can be drawn into it.
            xcb_damage_create(connection, xcb_generate_id(connection), created->window,
                              XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
            xcb_flush(connection);
            state->windows.append({created->window, now, {}, {}});
        }
    } else if (type == XCB_MAP_NOTIFY) {
        const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
        for (Window& window : state->windows) {
            if (window.id == map->window) {
                window.mappedAt = now;
                state->mapped.append(window);
            }
        }
    } else if (type == XCB_UNMAP_NOTIFY) {
        state->unmapped.append(reinterpret_cast<xcb_unmap_notify_event_t*>(event)->window);
    } else if (type == state->damageEvent) {
        const auto* damage = reinterpret_cast<xcb_damage_notify_event_t*>(event);
        for (Window& window : state->windows) {
            if (window.id == damage->drawable && window.paintedAt == Clock::time_point{}) {
                window.paintedAt = now;
                if (!state->painted)
                    state->painted = window;
            }
        }
    }
    free(event);
    return true;
}

std::optional<XDisplay::Window> XDisplay::WaitForFirstPaint(Clock::time_point deadline)
{
    while (!state->painted) {
        if (!Dispatch(deadline))
            return std::nullopt;
    }
    return state->painted;
}

std::optional<XDisplay::Window> XDisplay::WaitForMap(Clock::time_point deadline)
{
    while (state->mapped.isEmpty()) {
        if (!Dispatch(deadline))
            return std::nullopt;
    }
    return state->mapped.takeFirst();
}

std::optional<XDisplay::Window> XDisplay::WaitForPaintOf(uint32_t window, Clock::time_point deadline)
{
    const auto find = [&]() -> const Window* {
        for (const Window& seen : state->windows) {
            if (seen.id == window)
                return &seen;
        }
        return nullptr;
    };
    while (!find() || find()->paintedAt == Clock::time_point{}) {
        if (!Dispatch(deadline))
            return std::nullopt;
    }
    return *find();
}

namespace {
xcb_atom_t Atom(xcb_connection_t* connection, const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return atom;
}
} // namespace

bool XDisplay::CloseWindow(uint32_t window, Clock::time_point deadline)
{
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = Atom(connection, "WM_PROTOCOLS");
    message.data.data32[0] = Atom(connection, "WM_DELETE_WINDOW");
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
    while (!state->unmapped.contains(window)) {
        if (!Dispatch(deadline))
            return false;
    }
    return true;
}

std::optional<XDisplay::Geometry> XDisplay::WindowGeometry(uint32_t window)
{
    xcb_get_geometry_reply_t* size =
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
    if (!size)
        return std::nullopt;
    xcb_translate_coordinates_reply_t* place = xcb_translate_coordinates_reply(
        connection, xcb_translate_coordinates(connection, window, state->root, 0, 0), nullptr);
    std::optional<Geometry> geometry;
    if (place)
        geometry = Geometry{place->dst_x, place->dst_y, size->width, size->height};
    free(place);
    free(size);
    return geometry;
}

void XDisplay::Click(int x, int y)
{
    xcb_test_fake_input(connection, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, state->root, int16_t(x),
                        int16_t(y), 0);
    xcb_test_fake_input(connection, XCB_BUTTON_PRESS, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_test_fake_input(connection, XCB_BUTTON_RELEASE, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_flush(connection);
}
