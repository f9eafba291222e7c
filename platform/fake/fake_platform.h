#pragma once
// A platform that does nothing but record what was asked of it, for tests.

#include "platform/platform.h"

#include <QList>
#include <QPointer>
#include <QStringList>

namespace platform {

class FakePlatform final : public Platform {
public:
    bool acquireSingleInstance(const QString &name) override;
    void keepOffTaskbar(QWindow *window) override;
    void frameMargins(QWindow *window, std::function<void(QMargins)> known) override;
    void playEventSound() override;
    void openUrl(const QUrl &url) override;
    bool controlsWindows() override { return controlling; }

    bool canDriveWindows() override { return driving; }
    WindowId findWindow(const QString &title) override;
    bool isMinimised(WindowId window) override;
    void restore(WindowId window) override;
    void raise(WindowId window) override;
    void activate(WindowId window) override;
    bool hasFocus(WindowId window) override;
    void pressKey(Qt::Key key) override;

    QList<QPointer<QWindow>> offTaskbar;
    QList<QUrl> openedUrls;
    QMargins margins;  // what frameMargins answers, at once
    int eventSounds = 0;

    // One window of another program, if `windowTitle` is set. Every request about windows
    // is written to `windowCalls` ("find", "restore", "raise", "activate", "key F6").
    bool driving = true;  // what canDriveWindows answers
    QString windowTitle;
    bool windowMinimised = false;
    bool focusRefused = false;  // the window never takes the focus
    QStringList windowCalls;
    bool controlling = true;  // what controlsWindows answers
};

}  // namespace platform
