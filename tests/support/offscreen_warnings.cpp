#include "support/offscreen_warnings.h"

#include <QString>
#include <QtGlobal>

namespace {

QtMessageHandler g_next = nullptr;

void Filter(QtMsgType type, const QMessageLogContext &context, const QString &text) {
    static const char *const kOffscreenOnly[] = {
        "This plugin does not support raise()",
        "This plugin does not support grabbing the keyboard",
        "This plugin does not support propagateSizeHints()",
        "This plugin does not support setting window masks",
        "QPlatformNativeInterface::systemTrayWindowChanged",
    };
    for (const char *known : kOffscreenOnly) {
        if (text.contains(QLatin1String(known))) {
            return;
        }
    }
    if (g_next != nullptr) {
        g_next(type, context, text);
    }
}

}  // namespace

void FilterOffscreenWarnings() {
    // Installed after the test framework's own handler, which gets everything else.
    if (g_next == nullptr) {
        g_next = qInstallMessageHandler(Filter);
    }
}
