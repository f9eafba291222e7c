#pragma once
// The Linux desktop: a kernel-released file lock, X11 window state through Qt's own
// connection, libcanberra's event sounds and the desktop's URL handler.

#include "platform/platform.h"

struct ca_context;

namespace platform {

class X11Platform final : public Platform {
public:
    X11Platform() = default;
    ~X11Platform() override;
    X11Platform(const X11Platform &) = delete;
    X11Platform &operator=(const X11Platform &) = delete;

    bool AcquireSingleInstance(const QString &name) override;
    void KeepOffTaskbar(QWindow *window) override;
    QMargins FrameMargins(QWindow *window) override;
    void PlayEventSound() override;
    void OpenUrl(const QUrl &url) override;

private:
    int m_lockFd = -1;
    ca_context *m_sound = nullptr;
    bool m_soundFailed = false;
};

}  // namespace platform
