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
    void OpenUrl(const QUrl &url) override;
    bool ControlsWindows() override { return controlsWindows; }

    QList<QPointer<QWindow>> offTaskbar;
    QList<QUrl> openedUrls;
    bool controlsWindows = true;
};

}  // namespace platform
