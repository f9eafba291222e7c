#include "platform/fake/fake_platform.h"

#include <QWindow>

namespace platform {

bool FakePlatform::AcquireSingleInstance(const QString &) {
    return true;
}

void FakePlatform::KeepOffTaskbar(QWindow *window) {
    offTaskbar.append(window);
}

void FakePlatform::FrameMargins(QWindow *, std::function<void(QMargins)> known) {
    known(frameMargins);
}

void FakePlatform::PlayEventSound() {
    ++eventSounds;
}

void FakePlatform::OpenUrl(const QUrl &url) {
    openedUrls.append(url);
}

namespace {
constexpr WindowId kWindow = 7;
}

WindowId FakePlatform::FindWindow(const QString &title) {
    windowCalls.append(QStringLiteral("find"));
    return canDriveWindows && !windowTitle.isEmpty() && title == windowTitle ? kWindow : 0;
}

bool FakePlatform::IsMinimised(WindowId window) {
    return window == kWindow && windowMinimised;
}

void FakePlatform::Restore(WindowId window) {
    windowCalls.append(QStringLiteral("restore"));
    if (window == kWindow) {
        windowMinimised = false;
    }
}

void FakePlatform::Raise(WindowId) {
    windowCalls.append(QStringLiteral("raise"));
}

void FakePlatform::Activate(WindowId) {
    windowCalls.append(QStringLiteral("activate"));
}

bool FakePlatform::HasFocus(WindowId window) {
    return window == kWindow && !focusRefused;
}

void FakePlatform::PressKey(Qt::Key key) {
    const bool function = key >= Qt::Key_F1 && key <= Qt::Key_F35;
    windowCalls.append(function ? QStringLiteral("key F%1").arg(key - Qt::Key_F1 + 1)
                                : QStringLiteral("key %1").arg(int(key)));
}

}  // namespace platform
