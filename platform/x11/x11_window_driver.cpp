#include "platform/x11/x11_window_driver.h"

#include "platform/x11/x11_connection.h"

#include <QByteArray>

#include <xcb/xcb.h>

#include <cstdlib>
#include <optional>
#include <vector>

// Xlib's macros (None, Bool, Status, ...) would clash with Qt's names: after every Qt header.
extern "C" {
#include <X11/Xutil.h>
#include <xdo.h>
}

namespace platform {

using x11::InternAtom;
using x11::QtConnection;

namespace {

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

}  // namespace

X11WindowDriver::~X11WindowDriver() {
    if (m_xdo != nullptr) {
        xdo_free(m_xdo);
    }
}

xdo *X11WindowDriver::driver() {
    if (!m_xdoTried && QtConnection() != nullptr) {
        m_xdoTried = true;
        // Its own connection to the display Qt uses, so that nothing libxdo does can disturb
        // Qt's event handling.
        m_xdo = xdo_new(nullptr);
    }
    return QtConnection() != nullptr ? m_xdo : nullptr;
}

bool X11WindowDriver::canDriveWindows() {
    return driver() != nullptr;
}

WindowId X11WindowDriver::findWindow(const QString &title) {
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

bool X11WindowDriver::isMinimised(WindowId window) {
    const xdo_t *xdo = driver();
    if (xdo == nullptr) {
        return false;
    }
    XErrorGuard guard(xdo);
    return WmState(xdo, window) == IconicState;
}

void X11WindowDriver::restore(WindowId window) {
    if (const xdo_t *xdo = driver()) {
        XErrorGuard guard(xdo);
        // Mapping an iconic client asks the window manager to show it again (ICCCM 4.1.4).
        xdo_map_window(xdo, window);
    }
}

void X11WindowDriver::raise(WindowId window) {
    if (const xdo_t *xdo = driver()) {
        XErrorGuard guard(xdo);
        xdo_raise_window(xdo, window);
    }
}

void X11WindowDriver::activate(WindowId window) {
    const xdo_t *xdo = driver();
    if (xdo == nullptr) {
        return;
    }
    XErrorGuard guard(xdo);
    xdo_activate_window(xdo, window);
    XFlush(xdo->xdpy);
}

bool X11WindowDriver::hasFocus(WindowId window) {
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

void X11WindowDriver::pressKey(Qt::Key key) {
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

}  // namespace platform
