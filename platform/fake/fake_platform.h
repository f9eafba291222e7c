#pragma once
// A platform that does nothing but record what was asked of it, for tests.

#include "platform/platform.h"

#include <QList>
#include <QPointer>
#include <QStringList>

namespace platform {

class FakePlatform final : public Platform {
public:
    bool AcquireSingleInstance(const QString &name) override;
    void KeepOffTaskbar(QWindow *window) override;
    void FrameMargins(QWindow *window, std::function<void(QMargins)> known) override;
    void PlayEventSound() override;
    void OpenUrl(const QUrl &url) override;
    bool ControlsWindows() override { return controlsWindows; }

    bool CanDriveWindows() override { return canDriveWindows; }
    WindowId FindWindow(const QString &title) override;
    bool IsMinimised(WindowId window) override;
    void Restore(WindowId window) override;
    void Raise(WindowId window) override;
    void Activate(WindowId window) override;
    bool HasFocus(WindowId window) override;
    void PressKey(Qt::Key key) override;

    QList<QPointer<QWindow>> offTaskbar;
    QList<QUrl> openedUrls;
    QMargins frameMargins;  // what FrameMargins answers, at once
    int eventSounds = 0;

    // One window of another program, if `windowTitle` is set. Every request about windows
    // is written to `windowCalls` ("find", "restore", "raise", "activate", "key F6").
    bool canDriveWindows = true;
    QString windowTitle;
    bool windowMinimised = false;
    bool focusRefused = false;  // the window never takes the focus
    QStringList windowCalls;
    bool controlsWindows = true;
};

}  // namespace platform
