#include "platform/fake/fake_platform.h"

#include <QWindow>

namespace platform {

bool FakePlatform::acquireSingleInstance(const QString &) {
    return true;
}

void FakePlatform::keepOffTaskbar(QWindow *window) {
    offTaskbar.append(window);
}

void FakePlatform::frameMargins(QWindow *, std::function<void(QMargins)> known) {
    known(margins);
}

void FakePlatform::playEventSound() {
    ++eventSounds;
}

void FakePlatform::openUrl(const QUrl &url) {
    openedUrls.append(url);
}

namespace {
constexpr WindowId kWindow = 7;
}

WindowId FakePlatform::findWindow(const QString &title) {
    windowCalls.append(QStringLiteral("find"));
    return driving && !windowTitle.isEmpty() && title == windowTitle ? kWindow : 0;
}

bool FakePlatform::isMinimised(WindowId window) {
    return window == kWindow && windowMinimised;
}

void FakePlatform::restore(WindowId window) {
    windowCalls.append(QStringLiteral("restore"));
    if (window == kWindow) {
        windowMinimised = false;
    }
}

void FakePlatform::raise(WindowId) {
    windowCalls.append(QStringLiteral("raise"));
}

void FakePlatform::activate(WindowId) {
    windowCalls.append(QStringLiteral("activate"));
}

bool FakePlatform::hasFocus(WindowId window) {
    return window == kWindow && !focusRefused;
}

void FakePlatform::pressKey(Qt::Key key) {
    const bool function = key >= Qt::Key_F1 && key <= Qt::Key_F35;
    windowCalls.append(function ? QStringLiteral("key F%1").arg(key - Qt::Key_F1 + 1)
                                : QStringLiteral("key %1").arg(int(key)));
}

}  // namespace platform
