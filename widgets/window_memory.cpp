#include "widgets/window_memory.h"

#include <QDir>
#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QSettings>
#include <QWidget>

#include <algorithm>

namespace {

QString SettingsFile() {
    return QDir::current().absoluteFilePath(QStringLiteral("stockcalc.ini"));
}

QString GeometryKey(const QString &key) {
    return key + QStringLiteral("/geometry");
}

}  // namespace

bool RestoreGeometry(QWidget *window, const QString &key) {
    const QRect kept =
        QSettings(SettingsFile(), QSettings::IniFormat).value(GeometryKey(key)).toRect();
    if (!kept.isValid()) {
        return false;
    }
    const QScreen *screen = QGuiApplication::screenAt(kept.center());
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return false;
    }
    const QRect area = screen->availableGeometry();
    const QSize size = kept.size()
                           .boundedTo(area.size())
                           .expandedTo(window->minimumSize())
                           .boundedTo(window->maximumSize());
    window->resize(size);
    // Within the work area: a screen that became smaller, or a panel added since, hides nothing.
    const int left = std::clamp(kept.left(), area.left(),
                                std::max(area.left(), area.right() + 1 - size.width()));
    const int top =
        std::clamp(kept.top(), area.top(), std::max(area.top(), area.bottom() + 1 - size.height()));
    window->move(left, top);
    return true;
}

void RememberGeometry(const QWidget *window, const QString &key) {
    QSettings settings(SettingsFile(), QSettings::IniFormat);
    settings.setValue(GeometryKey(key), QRect(window->pos(), window->size()));
}
