#pragma once
// The Linux desktop on X11: the Linux desktop's lock, sound and browser, X11's window hints and
// frame through Qt's own connection, and libxdo for other programs' windows.

#include "platform/linux/linux_desktop.h"
#include "platform/platform.h"
#include "platform/x11/x11_window_driver.h"

#include <memory>

namespace platform {

class X11Platform final : public Platform {
public:
    explicit X11Platform(std::unique_ptr<LinuxDesktop> desktop = std::make_unique<LinuxDesktop>());
    ~X11Platform() override;
    X11Platform(const X11Platform &) = delete;
    X11Platform &operator=(const X11Platform &) = delete;

    bool acquireSingleInstance(const QString &name) override;
    void keepOffTaskbar(QWindow *window) override;
    void frameMargins(QWindow *window, std::function<void(QMargins)> known) override;
    void playEventSound() override;
    void openUrl(const QUrl &url) override;
    bool controlsWindows() override;

    bool canDriveWindows() override;
    WindowId findWindow(const QString &title) override;
    bool isMinimised(WindowId window) override;
    void restore(WindowId window) override;
    void raise(WindowId window) override;
    void activate(WindowId window) override;
    bool hasFocus(WindowId window) override;
    void pressKey(Qt::Key key) override;

private:
    std::unique_ptr<LinuxDesktop> m_desktop;
    X11WindowDriver m_windows;
};

}  // namespace platform
