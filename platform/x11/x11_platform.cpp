#include "platform/x11/x11_platform.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QWindow>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace platform {

namespace {

xcb_atom_t InternAtom(xcb_connection_t *connection, const char *name) {
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(strlen(name)), name),
        nullptr);
    if (reply == nullptr) {
        return XCB_ATOM_NONE;
    }
    const xcb_atom_t atom = reply->atom;
    free(reply);
    return atom;
}

// The X11 connection Qt itself uses; none when Qt runs on another platform plugin
// (offscreen, Wayland) or the display has gone.
xcb_connection_t *QtConnection() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        return nullptr;
    }
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr ||
        xcb_connection_has_error(x11->connection()) != 0) {
        return nullptr;
    }
    return x11->connection();
}

QString LockDirectory() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) {
        dir = QDir::tempPath();
    }
    return dir;
}

// True while QT_QPA_PLATFORM holds our choice rather than the user's.
bool g_windowSystemChosen = false;

}  // namespace

X11Platform::~X11Platform() {
    if (m_lockFd >= 0) {
        ::close(m_lockFd);
    }
}

bool X11Platform::AcquireSingleInstance(const QString &name) {
    if (m_lockFd >= 0) {
        return true;
    }
    // A file name cannot hold "/"; everything else of the name is kept.
    QString fileName = name;
    fileName.replace(u'/', u'_');
    const QByteArray path =
        QFile::encodeName(LockDirectory() + u'/' + fileName + QStringLiteral(".lock"));
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        return true;  // no place for a lock: do not stop the user from working
    }
    // flock is tied to the open file: the kernel drops it when the process dies.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_lockFd = fd;
    return true;
}

void X11Platform::KeepOffTaskbar(QWindow *window) {
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

void X11Platform::OpenUrl(const QUrl &url) {
    QDesktopServices::openUrl(url);
}

bool X11Platform::ControlsWindows() {
    return QtConnection() != nullptr;
}

std::unique_ptr<Platform> CreateNative() {
    return std::make_unique<X11Platform>();
}

void ChooseWindowSystem() {
    // Without a Wayland display Qt finds X11 by itself.
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        return;
    }
    // On a Wayland desktop our windows are X windows through XWayland, so the window manager
    // places them, keeps them on top and off the taskbar. Should XWayland not answer, Qt goes
    // on to Wayland and the program runs with what Wayland allows.
    const char *systems = qEnvironmentVariableIsEmpty("DISPLAY") ? "wayland" : "xcb;wayland";
    g_windowSystemChosen = qputenv("QT_QPA_PLATFORM", systems);
}

void ForgetWindowSystemChoice() {
    if (g_windowSystemChosen) {
        qunsetenv("QT_QPA_PLATFORM");
        g_windowSystemChosen = false;
    }
}

}  // namespace platform
