#include "app/tray.h"

#include "widgets/fonts.h"
#include "widgets/pictures.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QStyleHints>

namespace {

TrayMenu BuildMenu(QMenu *menu) {
    const auto item = [menu](const QString &caption, int picture) {
        return menu->addAction(MenuIcon(picture), caption);
    };
    TrayMenu entries{};
    entries.N8 = item(QStringLiteral("股票交易费率设置"), 4);
    entries.N9 = item(QStringLiteral("系统参数设置"), 5);
    entries.N5 = menu->addSeparator();
    entries.N1 = item(QStringLiteral("股票差价计算器"), 1);
    entries.N2 = item(QStringLiteral("股票均价计算器"), 1);
    entries.N6 = item(QStringLiteral("股票管理器"), 0);
    entries.N13 = menu->addSeparator();
    entries.N12 = item(QStringLiteral("股票价格监控设置"), 7);
    entries.N14 = item(QStringLiteral("查看监控股票价格"), 8);
    entries.N3 = menu->addSeparator();
    entries.N4 = item(QStringLiteral("关于本软件"), 3);
    entries.N10 = item(QStringLiteral("简易手册"), 6);
    entries.N11 = menu->addSeparator();
    entries.N7 = item(QStringLiteral("退出"), 2);
    return entries;
}

}  // namespace

Tray::Tray(QWidget *window, std::function<bool()> trayAvailable)
    : QObject(window),
      m_window(window),
      m_trayAvailable(std::move(trayAvailable)),
      m_menu(std::make_unique<QMenu>()),
      m_entries(BuildMenu(m_menu.get())),
      m_icon(new QSystemTrayIcon(TrayIconPicture(), this)),
      m_trayWatch(new QTimer(this)),
      m_launcherHint(
          new QLabel(QStringLiteral("系统托盘不可用：在此窗口上单击鼠标打开功能菜单"), window)) {
    m_menu->installEventFilter(this);
    // Told only after Qt has closed the pop-ups for a loss of the focus.
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) { m_focusState = state; });
    m_icon->setToolTip(QStringLiteral("岚石软件-股票收益计算器"));
    connect(m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                // A left or a right press; the X11 tray reports presses, not releases. A double
                // click's second press comes as DoubleClick and opens nothing more, and a press
                // while the menu is open leaves that menu alone.
                if ((reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::Context) &&
                    !m_menu->isVisible()) {
                    popUpMenu(QCursor::pos());
                }
            });

    // The about screen's lines share one face, so start-up loads no second CJK font.
    m_launcherHint->setFont(HeiTi(13));
    m_launcherHint->setStyleSheet(QStringLiteral("background: black; color: rgb(255, 251, 240);"));
    m_launcherHint->hide();  // laid out when it is first needed
    addLauncherSurface(m_launcherHint);

    // Many desktops have no tray, start it after the program, or restart it: look every second.
    m_trayWatch->setInterval(1000);
    connect(m_trayWatch, &QTimer::timeout, this, &Tray::checkTray);
    m_trayWatch->start();
    checkTray();
}

Tray::~Tray() = default;

void Tray::popUpMenu(const QPoint &globalPosition) {
    m_menuOpenedAt = globalPosition;
    m_menuOpening.start();
    m_menu->popup(globalPosition);
}

void Tray::showMessage(const QString &text) {
    if (m_icon->isVisible()) {
        m_icon->showMessage(QStringLiteral("股票收益计算器"), text, QSystemTrayIcon::Information);
    }
}

void Tray::allowLauncher() {
    m_launcherAllowed = true;
    checkTray();
}

void Tray::addLauncherSurface(QWidget *surface) {
    surface->installEventFilter(this);
}

void Tray::checkTray() {
    if (m_trayAvailable()) {
        m_icon->show();
        if (m_launcher) {
            setLauncher(false);
            m_window->hide();
        }
        return;
    }
    // Hidden while there is no tray, so that it is put into the next one afresh.
    m_icon->hide();
    // Without a tray the program would be out of reach: the launcher offers the menu instead.
    if (m_launcherAllowed && !m_launcher) {
        setLauncher(true);
        m_window->show();
        m_window->raise();
    }
}

void Tray::setLauncher(bool launcher) {
    m_launcher = launcher;
    if (launcher && !m_launcherHint->isVisibleTo(m_window)) {
        // At the foot of the window, inside its frame.
        const QRect area = m_window->contentsRect();
        m_launcherHint->adjustSize();
        m_launcherHint->move(area.left(), area.bottom() + 1 - m_launcherHint->height());
    }
    m_launcherHint->setVisible(launcher);
}

bool Tray::isSecondPressOfOpening(const QMouseEvent &press) const {
    const QStyleHints *hints = QGuiApplication::styleHints();
    return m_menuOpening.isValid() && m_menuOpening.elapsed() < hints->mouseDoubleClickInterval() &&
           (press.globalPosition().toPoint() - m_menuOpenedAt).manhattanLength() <=
               hints->mouseDoubleClickDistance();
}

bool Tray::eventFilter(QObject *watched, QEvent *event) {
    const QEvent::Type type = event->type();
    if (watched == m_menu.get()) {
        // Pushed to fit the screen, the menu can lie under the pointer that opened it: the
        // second press of a double click then lands on an entry, and must not choose it.
        if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) &&
            isSecondPressOfOpening(*static_cast<QMouseEvent *>(event))) {
            m_swallowRelease = true;
            return true;
        }
        if (type == QEvent::MouseButtonRelease && m_swallowRelease) {
            m_swallowRelease = false;
            return true;
        }
        // Qt closes every pop-up as it tells the program that it lost the input focus, and on
        // X11 it loses it whenever a focused window of its own goes away: the about screen
        // closing itself a second after the start took the menu the user had just opened with
        // it. The menu holds the pointer and the keyboard, so it stays until it is dismissed;
        // a choice, Escape or a press outside close it as before.
        if (type == QEvent::Close && m_focusState == Qt::ApplicationActive &&
            QGuiApplication::applicationState() != Qt::ApplicationActive) {
            event->ignore();
            return true;
        }
        return false;
    }
    if (m_launcher && type == QEvent::MouseButtonPress) {
        popUpMenu(QCursor::pos());
        return true;
    }
    return false;
}
