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
    QMargins FrameMargins(QWindow *window) override;
    void PlayEventSound() override;
    void OpenUrl(const QUrl &url) override;
    bool ControlsWindows() override { return controlsWindows; }

    bool CanDriveWindows() override { return canDriveWindows; }
    WindowId FindWindow(const QString &title) override;
    bool IsMinimised(WindowId window) override;
    void Restore(WindowId window) override;
    void Raise(WindowId window) override;
    void Activate(WindowId window) override;
    void PressKey(Qt::Key key) override;

    QList<QPointer<QWindow>> offTaskbar;
    QList<QUrl> openedUrls;
    QMargins frameMargins;  // what FrameMargins answers
    int eventSounds = 0;

    // One window of another program, if `windowTitle` is set. Every request about windows
    // is written to `windowCalls` ("find", "restore", "raise", "activate", "key F6").
    bool canDriveWindows = true;
    QString windowTitle;
    bool windowMinimised = false;
    QStringList windowCalls;
    bool controlsWindows = true;
};

}  // namespace platform
