#include "app/main_window.h"

#include "app/about_picture.h"
#include "app/manual_dialog.h"
#include "app/trading_client.h"
#include "calc/average_price_window.h"
#include "calc/compact_difference_window.h"
#include "holdings/holdings_window.h"
#include "monitor/watch_list_dialog.h"
#include "platform/platform.h"
#include "settings/fee_settings_dialog.h"
#include "settings/settings_in_force.h"
#include "settings/system_parameters_dialog.h"
#include "storage/setup_store.h"
#include "widgets/fonts.h"
#include "widgets/message_box.h"
#include "widgets/pictures.h"
#include "widgets/tool_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyleHints>

void PictureBox::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, pixmap());
}

namespace {
// The settings dialogs are modal to nothing but themselves, so the tray menu stays usable;
// choosing an open one brings it forward.
void ShowDialog(QDialog *dialog) {
    if (dialog == nullptr) {
        return;
    }
    if (!dialog->isVisible()) {
        dialog->open();
    }
    dialog->raise();
    dialog->activateWindow();
}
}  // namespace

TForm1::TForm1(std::function<bool()> trayAvailable)
    : QWidget(nullptr, Qt::FramelessWindowHint), m_trayAvailable(std::move(trayAvailable)) {
    instance = this;
    setWindowTitle(QStringLiteral("岚石股票收益计算器"));
    setFont(SongTi());
    SetBackground(this, QColor(255, 128, 0));
    // Designed 442 x 291; the title bar's 40 pixels are taken off the client height.
    setFixedSize(442, 291 - 40);

    Image1 = new PictureBox(this);
    Image1->setGeometry(rect());
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setPixmap(AboutPictureFromFile());
    Image1->setEnabled(false);
    Image1->installEventFilter(this);

    Label1 = new QLabel(QStringLiteral(" Ver  1.0  (Build 1.075 , 2013.8.21最后修改)"), this);
    QFont versionFont(QStringLiteral("Noto Sans CJK SC"));
    versionFont.setPixelSize(13);
    Label1->setFont(versionFont);
    Label1->setStyleSheet(QStringLiteral("background: black; color: rgb(255, 251, 240);"));
    Label1->adjustSize();
    Label1->move(0, 0);

    SpeedButton1 = new QPushButton(this);
    SpeedButton1->setFlat(true);
    SpeedButton1->setGeometry(120, 120, 201, 41);
    SpeedButton1->setCursor(Qt::PointingHandCursor);
    SpeedButton1->setStyleSheet(
        QStringLiteral("QPushButton { border: none; background: transparent; }"));
    SpeedButton1->hide();
    connect(SpeedButton1, &QPushButton::clicked, this, &TForm1::SpeedButton1Click);

    m_launcherHint =
        new QLabel(QStringLiteral("系统托盘不可用：在此窗口上单击鼠标打开功能菜单"), this);
    // The lines on the about screen share one face, so start-up loads no second CJK font.
    m_launcherHint->setFont(versionFont);
    m_launcherHint->setStyleSheet(QStringLiteral("background: black; color: rgb(255, 251, 240);"));
    m_launcherHint->hide();  // laid out when it is first needed
    Label1->installEventFilter(this);
    m_launcherHint->installEventFilter(this);

    // Without control over windows (Wayland without XWayland) the program still works, but
    // the calculators cannot go to their corners or stay on top, nor can the refresh reach the
    // trading client: the about screen says so under the version line.
    m_sessionNote = new QLabel(
        QStringLiteral("窗口定位、总在最前和交易软件自动刷新需要 X11 或 XWayland 会话"), this);
    m_sessionNote->setFont(versionFont);
    m_sessionNote->setStyleSheet(m_launcherHint->styleSheet());
    m_sessionNote->hide();
    if (!platform::Current().ControlsWindows()) {
        m_sessionNote->adjustSize();
        m_sessionNote->move(0, Label1->height());
        m_sessionNote->show();
    }

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);

    Timer2 = new QTimer(this);
    connect(Timer2, &QTimer::timeout, this, &TForm1::Timer2Timer);

    buildMenu();

    TrayIcon = new QSystemTrayIcon(TrayIconPicture(), this);
    TrayIcon->setToolTip(QStringLiteral("岚石软件-股票收益计算器"));
    connect(TrayIcon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                // A left or a right press; the X11 tray reports presses, not releases. A double
                // click's second press comes as DoubleClick and opens nothing more, and a press
                // while the menu is open leaves that menu alone.
                if ((reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::Context) &&
                    !Menu1->isVisible()) {
                    PopUpMenu(QCursor::pos());
                }
            });
    // Many desktops have no tray, start it after the program, or restart it: look every second.
    m_trayWatch = new QTimer(this);
    m_trayWatch->setInterval(1000);
    connect(m_trayWatch, &QTimer::timeout, this, &TForm1::checkTray);
    m_trayWatch->start();
    checkTray();

    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        move(screen->geometry().center() - rect().center());
    }
}

void TForm1::buildMenu() {
    // No parent: a dialog open over the main window must not block the menu.
    Menu1 = new QMenu();
    Menu1->installEventFilter(this);
    connect(this, &QObject::destroyed, Menu1, &QObject::deleteLater);
    const auto item = [this](const QString &caption, int picture) {
        return Menu1->addAction(MenuIcon(picture), caption);
    };
    N8 = item(QStringLiteral("股票交易费率设置"), 4);
    N9 = item(QStringLiteral("系统参数设置"), 5);
    N5 = Menu1->addSeparator();
    N1 = item(QStringLiteral("股票差价计算器"), 1);
    N2 = item(QStringLiteral("股票均价计算器"), 1);
    N6 = item(QStringLiteral("股票管理器"), 0);
    N13 = Menu1->addSeparator();
    N12 = item(QStringLiteral("股票价格监控设置"), 7);
    N14 = item(QStringLiteral("查看监控股票价格"), 8);
    N3 = Menu1->addSeparator();
    N4 = item(QStringLiteral("关于本软件"), 3);
    N10 = item(QStringLiteral("简易手册"), 6);
    N11 = Menu1->addSeparator();
    N7 = item(QStringLiteral("退出"), 2);

    connect(N4, &QAction::triggered, this, [this] {
        show();
        raise();
        activateWindow();
    });
    connect(N7, &QAction::triggered, this, &QWidget::close);
    connect(N1, &QAction::triggered, this, [] { TForm5::Open(); });
    connect(N2, &QAction::triggered, this, [] { TForm6::Open(); });
    // Every use reloads the list, so an open manager is brought up to date.
    connect(N6, &QAction::triggered, this, [] { TForm4::Open()->LoadHoldings(); });
    connect(N8, &QAction::triggered, this, [this] { ShowDialog(m_feeSettings); });
    connect(N9, &QAction::triggered, this, [this] { ShowDialog(m_systemParameters); });
    connect(N10, &QAction::triggered, this, [this] { ShowDialog(m_manual); });
}

void TForm1::SetDialogs(TSETDlg *feeSettings, TmyDlg *systemParameters) {
    m_feeSettings = feeSettings;
    m_systemParameters = systemParameters;
}

void TForm1::SetWatchListDialog(TSeeDlg *watchList) {
    m_watchList = watchList;
    connect(N12, &QAction::triggered, this, [this] { ShowDialog(m_watchList); });
    connect(N14, &QAction::triggered, this, [this] {
        if (m_watchList) {
            m_watchList->ShowMonitor(this);
        }
    });
}

void TForm1::SetManual(THELPDLG *manual) {
    m_manual = manual;
}

void TForm1::PopUpMenu(const QPoint &globalPosition) {
    m_menuOpenedAt = globalPosition;
    m_menuOpening.start();
    Menu1->popup(globalPosition);
}

bool TForm1::isSecondPressOfOpening(const QMouseEvent &press) const {
    const QStyleHints *hints = QGuiApplication::styleHints();
    return m_menuOpening.isValid() && m_menuOpening.elapsed() < hints->mouseDoubleClickInterval() &&
           (press.globalPosition().toPoint() - m_menuOpenedAt).manhattanLength() <=
               hints->mouseDoubleClickDistance();
}

void TForm1::checkTray() {
    if (m_trayAvailable()) {
        TrayIcon->show();
        if (m_launcher) {
            setLauncher(false);
            hide();
        }
        return;
    }
    // Hidden while there is no tray, so that it is put into the next one afresh.
    TrayIcon->hide();
    // Without a tray the program would be out of reach: the launcher offers the menu instead,
    // from when the about screen's first second is over.
    if (m_aboutOver && !m_launcher) {
        setLauncher(true);
        show();
        raise();
    }
}

void TForm1::setLauncher(bool launcher) {
    m_launcher = launcher;
    if (launcher && !m_launcherHint->isVisibleTo(this)) {
        m_launcherHint->adjustSize();
        m_launcherHint->move(0, height() - m_launcherHint->height());
    }
    m_launcherHint->setVisible(launcher);
}

void TForm1::SetRefresh(bool on, int32_t seconds) {
    const std::optional<int> interval = storage::RefreshIntervalMs(seconds);
    if (!on || !interval) {
        Timer2->stop();
        return;
    }
    // Only a different interval, or a stopped timer, starts the count anew.
    if (Timer2->interval() != *interval) {
        Timer2->setInterval(*interval);
    }
    if (!Timer2->isActive()) {
        Timer2->start();
    }
}

void TForm1::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    // The about screen's second counts from when it is seen: a start-up message can keep the
    // program waiting for longer than that before the screen first shows.
    if (!m_aboutOver && !Timer1->isActive()) {
        Timer1->start();
    }
}

void TForm1::Timer1Timer() {
    m_aboutOver = true;
    Timer1->stop();
    SpeedButton1->show();
    Image1->setEnabled(true);
    if (!m_trayAvailable()) {
        // No tray: stay on screen as the launcher until one appears.
        setLauncher(true);
        return;
    }
    hide();
}

void TForm1::Timer2Timer() {
    // While the client is away the interval stays as it is.
    if (trading_client::Refresh(platform::Current())) {
        SetRefresh(true, settings::System().RefreshSeconds());
    }
}

void TForm1::Image1Click() {
    if (m_launcher) {
        PopUpMenu(QCursor::pos());
        return;
    }
    hide();
}

void TForm1::SpeedButton1Click() {
    platform::Current().OpenUrl(HomePage());
    if (!m_launcher) {
        hide();
    }
}

bool TForm1::eventFilter(QObject *watched, QEvent *event) {
    if (watched == Menu1) {
        // Pushed to fit the screen, the menu can lie under the pointer that opened it: the
        // second press of a double click then lands on an entry, and must not choose it.
        const QEvent::Type type = event->type();
        if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) &&
            isSecondPressOfOpening(*static_cast<QMouseEvent *>(event))) {
            m_swallowRelease = true;
            return true;
        }
        if (type == QEvent::MouseButtonRelease && m_swallowRelease) {
            m_swallowRelease = false;
            return true;
        }
        return false;
    }
    if ((watched == Label1 || watched == m_launcherHint) && m_launcher &&
        event->type() == QEvent::MouseButtonPress) {
        PopUpMenu(QCursor::pos());
        return true;
    }
    if (watched == Image1 && event->type() == QEvent::MouseButtonPress && Image1->isEnabled()) {
        Image1Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::closeEvent(QCloseEvent *event) {
    // Closing the main window ends the program with every window.
    event->accept();
    QCoreApplication::quit();
}
