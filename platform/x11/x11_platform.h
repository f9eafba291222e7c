#pragma once
// The Linux desktop: a kernel-released file lock, X11 window state through Qt's own
// connection, and the desktop's URL handler.

#include "platform/platform.h"

namespace platform {

class X11Platform final : public Platform {
public:
    X11Platform() = default;
    ~X11Platform() override;
    X11Platform(const X11Platform &) = delete;
    X11Platform &operator=(const X11Platform &) = delete;

    bool AcquireSingleInstance(const QString &name) override;
    void KeepOffTaskbar(QWindow *window) override;
    void OpenUrl(const QUrl &url) override;
    bool ControlsWindows() override;

private:
    int m_lockFd = -1;
};

}  // namespace platform
