// The floor for any Qt tray tool: one frameless 442 x 251 window with a Chinese label, and a
// tray icon with a ten-entry menu. The start-up benchmark measures the program against it.

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

int main(int argc, char *argv[]) {
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.setWindowTitle(QStringLiteral("空白托盘程序"));
    window.setFixedSize(442, 251);
    auto *label = new QLabel(QStringLiteral("岚石股票收益计算器"), &window);
    label->setGeometry(20, 20, 300, 30);

    QPixmap icon(16, 16);
    icon.fill(QColor(255, 128, 0));
    QMenu menu;
    for (int i = 0; i < 10; ++i) {
        menu.addAction(QStringLiteral("菜单项 %1").arg(i + 1));
    }
    QSystemTrayIcon tray{QIcon(icon)};
    tray.setContextMenu(&menu);
    tray.show();

    window.show();
    QTimer::singleShot(1000, &window, &QWidget::hide);
    return QApplication::exec();
}
