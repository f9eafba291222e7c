#include "platform/x11/x11_platform.h"

#include "platform/x11/x11_connection.h"

#include <QTimer>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <vector>

namespace platform {

using x11::InternAtom;
using x11::QtConnection;

namespace {

// _NET_FRAME_EXTENTS of the window (left, right, top, bottom), if it is set.
std::optional<QMargins> ReadFrameExtents(xcb_connection_t *connection, xcb_window_t window,
                                         xcb_atom_t extents) {
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, extents, XCB_ATOM_CARDINAL, 0, 4),
        nullptr);
    if (reply == nullptr) {
        return std::nullopt;
    }
    std::optional<QMargins> margins;
    if (reply->format == 32 && reply->type == XCB_ATOM_CARDINAL &&
        xcb_get_property_value_length(reply) == 16) {
        const auto *data = static_cast<const uint32_t *>(xcb_get_property_value(reply));
        margins = QMargins(static_cast<int>(data[0]), static_cast<int>(data[2]),
                           static_cast<int>(data[1]), static_cast<int>(data[3]));
    }
    free(reply);
    return margins;
}

// Whether the window manager lists the atom in _NET_SUPPORTED.
bool Supported(xcb_connection_t *connection, xcb_window_t root, xcb_atom_t atom) {
    const xcb_atom_t supported = InternAtom(connection, "_NET_SUPPORTED");
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, root, supported, XCB_ATOM_ATOM, 0, 4096),
        nullptr);
    if (reply == nullptr) {
        return false;
    }
    bool found = false;
    if (reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
        const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply));
        const int count = xcb_get_property_value_length(reply) / 4;
        found = std::find(atoms, atoms + count, atom) != atoms + count;
    }
    free(reply);
    return found;
}

}  // namespace

X11Platform::X11Platform(std::unique_ptr<LinuxDesktop> desktop) : m_desktop(std::move(desktop)) {}

X11Platform::~X11Platform() = default;

bool X11Platform::acquireSingleInstance(const QString &name) {
    return m_desktop->acquireSingleInstance(name);
}

void X11Platform::keepOffTaskbar(QWindow *window) {
    xcb_connection_t *connection = QtConnection();
    if (window == nullptr || connection == nullptr) {
        return;
    }
    // Qt keeps the atoms it finds in _NET_WM_STATE when it maps the window and adds its own
    // (ABOVE for stays-on-top), but never sets SKIP_TASKBAR for tool windows itself.
    const auto id = static_cast<xcb_window_t>(window->winId());
    const xcb_atom_t state = InternAtom(connection, "_NET_WM_STATE");
    std::vector<xcb_atom_t> atoms;
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, id, state, XCB_ATOM_ATOM, 0, 1024), nullptr);
    if (reply != nullptr) {
        if (reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
            const auto *data = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply));
            atoms.assign(data, data + xcb_get_property_value_length(reply) / 4);
        }
        free(reply);
    }
    for (const char *name : {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"}) {
        const xcb_atom_t atom = InternAtom(connection, name);
        if (std::find(atoms.begin(), atoms.end(), atom) == atoms.end()) {
            atoms.push_back(atom);
        }
    }
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(atoms.size()), atoms.data());
    xcb_flush(connection);
}

void X11Platform::frameMargins(QWindow *window, std::function<void(QMargins)> known) {
    xcb_connection_t *connection = QtConnection();
    if (window == nullptr || connection == nullptr) {
        known({});
        return;
    }
    const auto id = static_cast<xcb_window_t>(window->winId());
    const xcb_atom_t extents = InternAtom(connection, "_NET_FRAME_EXTENTS");
    if (const std::optional<QMargins> framed = ReadFrameExtents(connection, id, extents)) {
        known(*framed);
        return;
    }
    // Before the first mapping the window manager has not framed the window yet; one that
    // supports it tells the frame it would give when asked.
    xcb_query_tree_reply_t *tree =
        xcb_query_tree_reply(connection, xcb_query_tree(connection, id), nullptr);
    if (tree == nullptr) {
        known({});
        return;
    }
    const xcb_window_t root = tree->root;
    free(tree);
    const xcb_atom_t request = InternAtom(connection, "_NET_REQUEST_FRAME_EXTENTS");
    if (!Supported(connection, root, request)) {
        known({});
        return;
    }
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = id;
    message.type = request;
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char *>(&message));
    xcb_flush(connection);
    // The answer is a property on the window. A window manager answers within milliseconds;
    // the event loop looks for it now and then, and gives up soon on one that never answers.
    auto *poll = new QTimer(window);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, poll,
                     [poll, id, extents, known = std::move(known), attempts = 0]() mutable {
                         xcb_connection_t *now = QtConnection();
                         const std::optional<QMargins> told =
                             now != nullptr ? ReadFrameExtents(now, id, extents) : std::nullopt;
                         if (!told && now != nullptr && ++attempts < 20) {
                             return;
                         }
                         poll->stop();
                         poll->deleteLater();
                         known(told.value_or(QMargins()));
                     });
    poll->start();
}

void X11Platform::playEventSound() {
    m_desktop->playEventSound();
}

void X11Platform::openUrl(const QUrl &url) {
    m_desktop->openUrl(url);
}

bool X11Platform::canDriveWindows() {
    return m_windows.canDriveWindows();
}

WindowId X11Platform::findWindow(const QString &title) {
    return m_windows.findWindow(title);
}

bool X11Platform::isMinimised(WindowId window) {
    return m_windows.isMinimised(window);
}

void X11Platform::restore(WindowId window) {
    m_windows.restore(window);
}

void X11Platform::raise(WindowId window) {
    m_windows.raise(window);
}

void X11Platform::activate(WindowId window) {
    m_windows.activate(window);
}

bool X11Platform::hasFocus(WindowId window) {
    return m_windows.hasFocus(window);
}

void X11Platform::pressKey(Qt::Key key) {
    m_windows.pressKey(key);
}

bool X11Platform::controlsWindows() {
    return QtConnection() != nullptr;
}

// The program's platform: what any Linux desktop does, and X11's windows.
std::unique_ptr<Platform> CreateNative() {
    return std::make_unique<X11Platform>(std::make_unique<LinuxDesktop>());
}

}  // namespace platform
