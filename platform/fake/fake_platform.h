#pragma once
// A platform that does nothing but record what was asked of it, for tests.

#include "platform/platform.h"

#include <QList>
#include <QPointer>

namespace platform {

class FakePlatform final : public Platform {
public:
    bool AcquireSingleInstance(const QString &name) override;
    void KeepOffTaskbar(QWindow *window) override;
    QMargins FrameMargins(QWindow *window) override;
    void PlayEventSound() override;
    void OpenUrl(const QUrl &url) override;

    QList<QPointer<QWindow>> offTaskbar;
    QList<QUrl> openedUrls;
    QMargins frameMargins;  // what FrameMargins answers
    int eventSounds = 0;
};

}  // namespace platform
