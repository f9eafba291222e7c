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

    bool AcquireSingleInstance(const QString &name) override;
    void KeepOffTaskbar(QWindow *window) override;
    void FrameMargins(QWindow *window, std::function<void(QMargins)> known) override;
    void PlayEventSound() override;
    void OpenUrl(const QUrl &url) override;
    bool ControlsWindows() override;

    bool CanDriveWindows() override;
    WindowId FindWindow(const QString &title) override;
    bool IsMinimised(WindowId window) override;
    void Restore(WindowId window) override;
    void Raise(WindowId window) override;
    void Activate(WindowId window) override;
    bool HasFocus(WindowId window) override;
    void PressKey(Qt::Key key) override;

private:
    std::unique_ptr<LinuxDesktop> m_desktop;
    X11WindowDriver m_windows;
};

}  // namespace platform
