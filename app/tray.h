#pragma once
// The program's place on the desktop: the notification-area icon with its pop-up menu, and,
// while the desktop has no notification area, the main window standing in as a launcher that
// opens the same menu.

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QObject>
#include <QPoint>
#include <QSystemTrayIcon>
#include <QTimer>

#include <functional>
#include <memory>

class QMouseEvent;

// The entries of the tray's menu, in their order, under the Windows program's names.
struct TrayMenu {
    QAction *N8;   // 股票交易费率设置
    QAction *N9;   // 系统参数设置
    QAction *N5;   // -
    QAction *N1;   // 股票差价计算器
    QAction *N2;   // 股票均价计算器
    QAction *N6;   // 股票管理器
    QAction *N13;  // -
    QAction *N12;  // 股票价格监控设置
    QAction *N14;  // 查看监控股票价格
    QAction *N3;   // -
    QAction *N4;   // 关于本软件
    QAction *N10;  // 简易手册
    QAction *N11;  // -
    QAction *N7;   // 退出
};

class Tray final : public QObject {
    Q_OBJECT
public:
    // `window` is the main window, the launcher while there is no tray. `trayAvailable` tells
    // whether a notification area is there now; it is asked again every second, as trays come
    // and go.
    Tray(QWidget *window, std::function<bool()> trayAvailable);
    ~Tray() override;
    Tray(const Tray &) = delete;
    Tray &operator=(const Tray &) = delete;

    QSystemTrayIcon *icon() const { return m_icon; }
    // The pop-up menu; what its entries do is the main window's wiring.
    QMenu *menu() const { return m_menu.get(); }
    const TrayMenu &entries() const { return m_entries; }

    // Shows the text in the tray icon's message balloon; nothing while there is no tray.
    void showMessage(const QString &text);

    // Pops the menu up with its top-left corner at the point.
    void popUpMenu(const QPoint &globalPosition);

    // From now on (the about screen's first second is over) a desktop without a tray gets the
    // launcher: the main window stays up, says so, and a press on it opens the menu.
    void allowLauncher();
    // True while the launcher is up.
    bool isLauncher() const { return m_launcher; }
    // While the launcher is up, a press on this part of the main window opens the menu.
    void addLauncherSurface(QWidget *surface);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void checkTray();
    void setLauncher(bool launcher);
    // Whether a press on the menu is the second press of the double click that opened it.
    bool isSecondPressOfOpening(const QMouseEvent &press) const;

    QWidget *m_window;
    std::function<bool()> m_trayAvailable;
    // No parent: a dialog open over the main window must not block the menu.
    std::unique_ptr<QMenu> m_menu;
    TrayMenu m_entries;
    QSystemTrayIcon *m_icon;
    QTimer *m_trayWatch;
    QLabel *m_launcherHint;
    bool m_launcherAllowed = false;
    bool m_launcher = false;
    QPoint m_menuOpenedAt;
    QElapsedTimer m_menuOpening;
    bool m_swallowRelease = false;
    // The program's focus state as last announced; a change is announced after Qt has acted on it.
    Qt::ApplicationState m_focusState = QGuiApplication::applicationState();
};
