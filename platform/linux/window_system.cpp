// The choice of Qt's window system on a Linux desktop: X11 through XWayland on a Wayland
// desktop, so that the window manager places the windows and keeps them on top.

#include "platform/platform.h"

#include <QtGlobal>

namespace platform {

namespace {
// True while QT_QPA_PLATFORM holds our choice rather than the user's.
bool g_windowSystemChosen = false;
}  // namespace

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
