#include "platform/fake/fake_platform.h"

#include <QWindow>

namespace platform {

bool FakePlatform::AcquireSingleInstance(const QString &) {
    return true;
}

void FakePlatform::KeepOffTaskbar(QWindow *window) {
    offTaskbar.append(window);
}

QMargins FakePlatform::FrameMargins(QWindow *) {
    return frameMargins;
}

void FakePlatform::PlayEventSound() {
    ++eventSounds;
}

void FakePlatform::OpenUrl(const QUrl &url) {
    openedUrls.append(url);
}

}  // namespace platform
