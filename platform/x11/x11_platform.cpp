#include "platform/x11/x11_platform.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QTimer>
#include <QWindow>

#include <canberra.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

// Xlib's macros (None, Bool, Status, ...) would clash with Qt's names: after every Qt header.
extern "C" {
#include <X11/Xutil.h>
#include <xdo.h>
}

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

// Another program's window may go away between two requests about it. Xlib's default error
// handler would end this program for that; while a guard lives, errors are ignored.
int IgnoreXError(Display *, XErrorEvent *) {
    return 0;
}

class XErrorGuard {
public:
    explicit XErrorGuard(const xdo_t *xdo)
        : m_display(xdo->xdpy), m_previous(XSetErrorHandler(IgnoreXError)) {}
    ~XErrorGuard() {
        XSync(m_display, False);  // errors of the requests made so far arrive under the guard
        XSetErrorHandler(m_previous);
    }
    XErrorGuard(const XErrorGuard &) = delete;
    XErrorGuard &operator=(const XErrorGuard &) = delete;

private:
    Display *m_display;
    XErrorHandler m_previous;
};

// One property of a window; type none when the window has no such property or has gone.
struct Property {
    xcb_atom_t type = XCB_ATOM_NONE;
    uint8_t format = 0;
    QByteArray value;
};

Property TakeProperty(xcb_connection_t *connection, xcb_get_property_cookie_t cookie) {
    xcb_generic_error_t *error = nullptr;
    xcb_get_property_reply_t *reply = xcb_get_property_reply(connection, cookie, &error);
    free(error);  // another program's window may go away at any time
    Property property;
    if (reply != nullptr) {
        property.type = reply->type;
        property.format = reply->format;
        property.value = QByteArray(static_cast<const char *>(xcb_get_property_value(reply)),
                                    xcb_get_property_value_length(reply));
        free(reply);
    }
    return property;
}

struct TitleAtoms {
    xcb_atom_t netName;
    xcb_atom_t utf8;
    xcb_atom_t compound;
    xcb_atom_t wmState;
};

// WM_NAME's text as its type says: STRING is Latin-1; UTF8_STRING; COMPOUND_TEXT (ISO 2022,
// what programs run through a compatibility layer often set) converted by Xlib.
std::optional<QString> DecodeWmName(Display *display, const Property &name,
                                    const TitleAtoms &atoms) {
    if (name.format != 8) {
        return std::nullopt;
    }
    if (name.type == XCB_ATOM_STRING) {
        return QString::fromLatin1(name.value);
    }
    if (name.type == atoms.utf8) {
        return QString::fromUtf8(name.value);
    }
    if (name.type != atoms.compound) {
        return std::nullopt;
    }
    QByteArray bytes = name.value;
    XTextProperty text{};
    text.value = reinterpret_cast<unsigned char *>(bytes.data());
    text.encoding = atoms.compound;
    text.format = 8;
    text.nitems = static_cast<unsigned long>(bytes.size());
    char **list = nullptr;
    int count = 0;
    if (Xutf8TextPropertyToTextList(display, &text, &list, &count) < Success || list == nullptr) {
        return std::nullopt;
    }
    QString title;
    for (int i = 0; i < count; ++i) {
        title += QString::fromUtf8(list[i]);
    }
    XFreeStringList(list);
    return title;
}

struct Titled {
    WindowId id;
    QString title;  // as the desktop shows it
    bool managed;   // a client of the window manager: it has a WM_STATE
};

// Every titled window of the display. The title is the one the desktop shows: _NET_WM_NAME
// (UTF-8) when the window has one, else WM_NAME. The tree is walked level by level, the
// requests of a level sent together, so a full desktop costs a few round trips.
std::vector<Titled> TitledWindows(xcb_connection_t *connection, Display *display) {
    const TitleAtoms atoms{
        InternAtom(connection, "_NET_WM_NAME"), InternAtom(connection, "UTF8_STRING"),
        InternAtom(connection, "COMPOUND_TEXT"), InternAtom(connection, "WM_STATE")};
    constexpr uint32_t kLongestTitle = 1024;  // in 32-bit units
    std::vector<xcb_window_t> level;
    for (xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection)); it.rem > 0;
         xcb_screen_next(&it)) {
        level.push_back(it.data->root);
    }
    std::vector<Titled> titled;
    while (!level.empty()) {
        std::vector<xcb_query_tree_cookie_t> trees;
        for (const xcb_window_t window : level) {
            trees.push_back(xcb_query_tree(connection, window));
        }
        std::vector<xcb_window_t> next;
        for (const xcb_query_tree_cookie_t cookie : trees) {
            xcb_generic_error_t *error = nullptr;
            xcb_query_tree_reply_t *tree = xcb_query_tree_reply(connection, cookie, &error);
            free(error);
            if (tree != nullptr) {
                const xcb_window_t *children = xcb_query_tree_children(tree);
                next.insert(next.end(), children, children + xcb_query_tree_children_length(tree));
                free(tree);
            }
        }
        struct Asked {
            xcb_get_property_cookie_t netName, wmName, state;
        };
        std::vector<Asked> asked;
        for (const xcb_window_t window : next) {
            asked.push_back({xcb_get_property(connection, 0, window, atoms.netName, atoms.utf8, 0,
                                              kLongestTitle),
                             xcb_get_property(connection, 0, window, XCB_ATOM_WM_NAME,
                                              XCB_GET_PROPERTY_TYPE_ANY, 0, kLongestTitle),
                             xcb_get_property(connection, 0, window, atoms.wmState,
                                              XCB_GET_PROPERTY_TYPE_ANY, 0, 1)});
        }
        for (std::size_t i = 0; i < next.size(); ++i) {
            const Property netName = TakeProperty(connection, asked[i].netName);
            const Property wmName = TakeProperty(connection, asked[i].wmName);
            const bool managed = TakeProperty(connection, asked[i].state).type != XCB_ATOM_NONE;
            std::optional<QString> title;
            if (netName.type == atoms.utf8 && netName.format == 8 && !netName.value.isEmpty()) {
                title = QString::fromUtf8(netName.value);
            } else {
                title = DecodeWmName(display, wmName, atoms);
            }
            if (title) {
                titled.push_back({next[i], *title, managed});
            }
        }
        level = std::move(next);
    }
    return titled;
}

// The ICCCM state of a client window: 1 normal, 3 iconic; 0 when it has none (not managed).
long WmState(const xdo_t *xdo, Window window) {
    unsigned char *data = nullptr;
    long items = 0;
    Atom type = 0;
    int size = 0;
    if (xdo_get_window_property(xdo, window, "WM_STATE", &data, &items, &type, &size) != 0 ||
        data == nullptr) {
        return 0;
    }
    const long state = items > 0 && size == 32 ? reinterpret_cast<const long *>(data)[0] : 0;
    XFree(data);
    return state;
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

// libcanberra, loaded at the first sound: its sound-file and theme libraries cost start-up
// time and memory, and most runs never sound an alarm.
struct Canberra {
    decltype(&ca_context_create) create = nullptr;
    decltype(&ca_context_change_props) changeProps = nullptr;
    decltype(&ca_context_open) open = nullptr;
    decltype(&ca_context_play) play = nullptr;
    decltype(&ca_context_destroy) destroy = nullptr;
};

const Canberra *LoadCanberra() {
    static const std::optional<Canberra> loaded = []() -> std::optional<Canberra> {
        void *library = dlopen("libcanberra.so.0", RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr) {
            return std::nullopt;
        }
        Canberra canberra;
        canberra.create =
            reinterpret_cast<decltype(&ca_context_create)>(dlsym(library, "ca_context_create"));
        canberra.changeProps = reinterpret_cast<decltype(&ca_context_change_props)>(
            dlsym(library, "ca_context_change_props"));
        canberra.open =
            reinterpret_cast<decltype(&ca_context_open)>(dlsym(library, "ca_context_open"));
        canberra.play =
            reinterpret_cast<decltype(&ca_context_play)>(dlsym(library, "ca_context_play"));
        canberra.destroy =
            reinterpret_cast<decltype(&ca_context_destroy)>(dlsym(library, "ca_context_destroy"));
        if (!canberra.create || !canberra.changeProps || !canberra.open || !canberra.play ||
            !canberra.destroy) {
            return std::nullopt;
        }
        return canberra;
    }();
    return loaded ? &*loaded : nullptr;
}

}  // namespace

X11Platform::~X11Platform() {
    if (m_lockFd >= 0) {
        ::close(m_lockFd);
    }
    if (m_sound != nullptr) {
        LoadCanberra()->destroy(m_sound);
    }
    if (m_xdo != nullptr) {
        xdo_free(m_xdo);
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

void X11Platform::FrameMargins(QWindow *window, std::function<void(QMargins)> known) {
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

void X11Platform::PlayEventSound() {
    // The context is made at the first sound; a desktop without a sound device fails here
    // once and is not asked again.
    const Canberra *canberra = m_soundFailed ? nullptr : LoadCanberra();
    if (m_sound == nullptr && canberra != nullptr) {
        m_soundFailed = canberra->create(&m_sound) != CA_SUCCESS;
        if (!m_soundFailed) {
            canberra->changeProps(m_sound, CA_PROP_APPLICATION_NAME, "stockcalc",
                                  CA_PROP_APPLICATION_ID, "stockcalc", nullptr);
            m_soundFailed = canberra->open(m_sound) != CA_SUCCESS;
        }
        if (m_soundFailed && m_sound != nullptr) {
            canberra->destroy(m_sound);
            m_sound = nullptr;
        }
    }
    if (m_sound == nullptr || canberra == nullptr) {
        m_soundFailed = true;
        return;
    }
    // Plays in libcanberra's own thread; the call returns at once.
    canberra->play(m_sound, 0, CA_PROP_EVENT_ID, "dialog-information", CA_PROP_EVENT_DESCRIPTION,
                   "股价警报", CA_PROP_CANBERRA_CACHE_CONTROL, "permanent", nullptr);
}

void X11Platform::OpenUrl(const QUrl &url) {
    QDesktopServices::openUrl(url);
}

xdo *X11Platform::driver() {
    if (!m_xdoTried && QtConnection() != nullptr) {
        m_xdoTried = true;
        // Its own connection to the display Qt uses, so that nothing libxdo does can disturb
        // Qt's event handling.
        m_xdo = xdo_new(nullptr);
    }
    return QtConnection() != nullptr ? m_xdo : nullptr;
}

bool X11Platform::CanDriveWindows() {
    return driver() != nullptr;
}

WindowId X11Platform::FindWindow(const QString &title) {
    const xdo_t *xdo = driver();
    xcb_connection_t *connection = QtConnection();
    if (xdo == nullptr || connection == nullptr || title.isEmpty()) {
        return 0;
    }
    // A top-level window is one the window manager manages (it has a WM_STATE); a child
    // window of the same title counts only when there is no such one.
    WindowId child = 0;
    for (const Titled &window : TitledWindows(connection, xdo->xdpy)) {
        if (window.title == title) {
            if (window.managed) {
                return window.id;
            }
            child = child != 0 ? child : window.id;
        }
    }
    return child;
}

bool X11Platform::IsMinimised(WindowId window) {
    const xdo_t *xdo = driver();
    if (xdo == nullptr) {
        return false;
    }
    XErrorGuard guard(xdo);
    return WmState(xdo, window) == IconicState;
}

void X11Platform::Restore(WindowId window) {
    if (const xdo_t *xdo = driver()) {
        XErrorGuard guard(xdo);
        // Mapping an iconic client asks the window manager to show it again (ICCCM 4.1.4).
        xdo_map_window(xdo, window);
    }
}

void X11Platform::Raise(WindowId window) {
    if (const xdo_t *xdo = driver()) {
        XErrorGuard guard(xdo);
        xdo_raise_window(xdo, window);
    }
}

void X11Platform::Activate(WindowId window) {
    const xdo_t *xdo = driver();
    if (xdo == nullptr) {
        return;
    }
    XErrorGuard guard(xdo);
    xdo_activate_window(xdo, window);
    XFlush(xdo->xdpy);
}

bool X11Platform::HasFocus(WindowId window) {
    xcb_connection_t *connection = QtConnection();
    if (connection == nullptr || driver() == nullptr) {
        return false;
    }
    xcb_get_input_focus_reply_t *focus =
        xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr);
    if (focus == nullptr) {
        return false;
    }
    // The focus may sit on a child window of the client.
    xcb_window_t current = focus->focus;
    free(focus);
    while (current != XCB_NONE && current != window) {
        xcb_generic_error_t *error = nullptr;
        xcb_query_tree_reply_t *tree =
            xcb_query_tree_reply(connection, xcb_query_tree(connection, current), &error);
        free(error);  // PointerRoot, or a window that has gone
        if (tree == nullptr) {
            return false;
        }
        current = tree->parent == tree->root ? XCB_NONE : tree->parent;
        free(tree);
    }
    return current == window && current != XCB_NONE;
}

void X11Platform::PressKey(Qt::Key key) {
    const xdo_t *xdo = driver();
    if (xdo == nullptr || key < Qt::Key_F1 || key > Qt::Key_F35) {
        return;  // function keys are all the program sends
    }
    XErrorGuard guard(xdo);
    const QByteArray name = "F" + QByteArray::number(key - Qt::Key_F1 + 1);
    // CURRENTWINDOW: through XTEST, into the desktop's input like a real key stroke.
    xdo_send_keysequence_window_down(xdo, CURRENTWINDOW, name.constData(), 0);
    xdo_send_keysequence_window_up(xdo, CURRENTWINDOW, name.constData(), 0);
    XFlush(xdo->xdpy);
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
