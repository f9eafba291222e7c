#pragma once
// The Linux desktop: a kernel-released file lock, X11 window state through Qt's own
// connection, libcanberra's event sounds, the desktop's URL handler, and libxdo for other
// programs' windows.

#include "platform/platform.h"

struct ca_context;
struct xdo;

namespace platform {

class X11Platform final : public Platform {
public:
    X11Platform() = default;
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
    // libxdo on its own X connection, opened at the first use; null when Qt does not run on
    // X11 or the display cannot be opened.
    xdo *driver();

    int m_lockFd = -1;
    ca_context *m_sound = nullptr;
    bool m_soundFailed = false;
    xdo *m_xdo = nullptr;
    bool m_xdoTried = false;
};

}  // namespace platform
