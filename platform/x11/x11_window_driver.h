#pragma once
// Other programs' top-level windows on X11 (the trading client): found by the title the desktop
// shows, restored, raised, activated and keyed through libxdo on its own connection.

#include "platform/platform.h"

struct xdo;

namespace platform {

class X11WindowDriver final {
public:
    X11WindowDriver() = default;
    ~X11WindowDriver();
    X11WindowDriver(const X11WindowDriver &) = delete;
    X11WindowDriver &operator=(const X11WindowDriver &) = delete;

    bool canDriveWindows();
    WindowId findWindow(const QString &title);
    bool isMinimised(WindowId window);
    void restore(WindowId window);
    void raise(WindowId window);
    void activate(WindowId window);
    bool hasFocus(WindowId window);
    void pressKey(Qt::Key key);

private:
    // libxdo on its own X connection, opened at the first use; null when Qt does not run on
    // X11 or the display cannot be opened.
    xdo *driver();

    xdo *m_xdo = nullptr;
    bool m_xdoTried = false;
};

}  // namespace platform
