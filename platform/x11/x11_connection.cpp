#include "platform/x11/x11_connection.h"

#include <QGuiApplication>

#include <cstdlib>
#include <cstring>

namespace platform::x11 {

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

}  // namespace platform::x11
