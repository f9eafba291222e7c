#include "app/main_window.h"

#include "app/about_picture.h"
#include "app/manual_dialog.h"
#include "app/open_chart.h"
#include "app/open_holdings.h"
#include "app/tray.h"
#include "calc/average_price_window.h"
#include "calc/compact_difference_window.h"
#include "monitor/monitor_window.h"
#include "monitor/overlay_window.h"
#include "monitor/watch_list_dialog.h"
#include "platform/platform.h"
#include "settings/fee_settings_dialog.h"
#include "settings/system_parameters_dialog.h"
#include "widgets/fonts.h"
#include "widgets/message_box.h"
#include "widgets/pictures.h"
#include "widgets/tool_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QPainter>
#include <QScreen>

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
        PrepareTrayDialog(dialog);
        dialog->open();
    }
    // A minimised dialog comes back: a desktop without a taskbar offers no other way to it.
    dialog->setWindowState(dialog->windowState() & ~Qt::WindowMinimized);
    dialog->raise();
    dialog->activateWindow();
}
}  // namespace

TForm1::TForm1(std::function<bool()> trayAvailable)
    : QWidget(nullptr, Qt::FramelessWindowHint), m_client(new QWidget(this)) {
    setWindowTitle(QStringLiteral("岚石股票收益计算器"));
    setFont(SongTi());
    SetBackground(this, QColor(255, 128, 0));
    // A thin frame and no title bar: designed 442 x 291, the title bar's 40 pixels are taken
    // off the client height, and the frame goes around the client.
    setContentsMargins(1, 1, 1, 1);
    setFixedSize(442 + 2, 291 - 40 + 2);
    m_client->setGeometry(contentsRect());

    Image1 = new PictureBox(m_client);
    Image1->setGeometry(m_client->rect());
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setPixmap(AboutPictureFromFile());
    Image1->setEnabled(false);
    Image1->installEventFilter(this);

    Label1 = new QLabel(QStringLiteral(" Ver  1.0  (Build 1.075 , 2013.8.21最后修改)"), m_client);
    // The about screen's lines share one face, so start-up loads no second CJK font.
    Label1->setFont(HeiTi(13));
    Label1->setStyleSheet(QStringLiteral("background: black; color: rgb(255, 251, 240);"));
    Label1->adjustSize();
    Label1->move(0, 0);

    SpeedButton1 = new QPushButton(m_client);
    SpeedButton1->setFlat(true);
    SpeedButton1->setGeometry(120, 120, 201, 41);
    SpeedButton1->setCursor(Qt::PointingHandCursor);
    SpeedButton1->setStyleSheet(
        QStringLiteral("QPushButton { border: none; background: transparent; }"));
    SpeedButton1->hide();
    connect(SpeedButton1, &QPushButton::clicked, this, &TForm1::SpeedButton1Click);

    // Without control over windows (Wayland without XWayland) the program still works, but
    // the calculators cannot go to their corners or stay on top, nor can the refresh reach the
    // trading client: the about screen says so under the version line.
    m_sessionNote = new QLabel(
        QStringLiteral("窗口定位、总在最前和交易软件自动刷新需要 X11 或 XWayland 会话"), m_client);
    m_sessionNote->setFont(Label1->font());
    m_sessionNote->setStyleSheet(Label1->styleSheet());
    m_sessionNote->hide();
    if (!platform::Current().ControlsWindows()) {
        m_sessionNote->adjustSize();
        m_sessionNote->move(0, Label1->height());
        m_sessionNote->show();
    }

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);

    m_tray = new Tray(this, std::move(trayAvailable));
    m_tray->AddLauncherSurface(Label1);
    wireMenu();

    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        move(screen->geometry().center() - rect().center());
    }
}

void TForm1::wireMenu() {
    const TrayMenu &entries = m_tray->entries();
    N8 = entries.N8;
    N9 = entries.N9;
    N5 = entries.N5;
    N1 = entries.N1;
    N2 = entries.N2;
    N6 = entries.N6;
    N13 = entries.N13;
    N12 = entries.N12;
    N14 = entries.N14;
    N3 = entries.N3;
    N4 = entries.N4;
    N10 = entries.N10;
    N11 = entries.N11;
    N7 = entries.N7;

    connect(N4, &QAction::triggered, this, [this] {
        show();
        raise();
        activateWindow();
    });
    connect(N7, &QAction::triggered, this, &QWidget::close);
    connect(N1, &QAction::triggered, this, [] { TForm5::Open(); });
    connect(N2, &QAction::triggered, this, [] { TForm6::Open(); });
    // Every use reloads the list, so an open manager is brought up to date.
    connect(N6, &QAction::triggered, this, [] { OpenHoldings(); });
    connect(N8, &QAction::triggered, this, [this] { ShowDialog(m_feeSettings); });
    connect(N9, &QAction::triggered, this, [this] { ShowDialog(m_systemParameters); });
    connect(N10, &QAction::triggered, this, [this] { ShowDialog(m_manual); });
}

void TForm1::SetDialogs(TSETDlg *feeSettings, TmyDlg *systemParameters) {
    m_feeSettings = feeSettings;
    m_systemParameters = systemParameters;
}

void TForm1::SetWatchListDialog(TSeeDlg *watchList, monitor::WatchSession *session) {
    m_watchList = watchList;
    m_session = session;
    connect(N12, &QAction::triggered, this, [this] { ShowDialog(m_watchList); });
    connect(N14, &QAction::triggered, this, [this] {
        if (m_watchList && m_watchList->ShowMonitor(this)) {
            ShowMonitor();
        }
    });
    // The overlay shows the monitor's prices: it goes when the dialog stops monitoring, and
    // never lies over the dialog taking its clicks.
    connect(watchList, &TSeeDlg::opened, this, [] {
        if (TForm12::instance) {
            TForm12::instance->close();
        }
    });
    if (session == nullptr) {
        return;
    }
    // A new monitor window for each start of monitoring; the old one goes when it ends.
    connect(session, &monitor::WatchSession::started, this, [this] {
        TForm10 *monitor = TForm10::Open(m_session.data());
        connect(monitor, &TForm10::overlayWanted, this,
                [this] { TForm12::Open(m_session.data()); });
        connect(monitor, &TForm10::chartWanted, monitor, &OpenChart);
    });
    connect(session, &monitor::WatchSession::stopped, this, [] {
        if (TForm10::instance) {
            TForm10::instance->close();
        }
    });
}

void TForm1::ShowMonitor() {
    if (m_session && m_session->active() && TForm10::instance) {
        FocusWindow(TForm10::instance);
    }
}

void TForm1::SetManual(THELPDLG *manual) {
    m_manual = manual;
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
    // Without a tray the screen stays up as the launcher until one appears.
    m_tray->AllowLauncher();
    if (!m_tray->isLauncher()) {
        hide();
    }
}

void TForm1::Image1Click() {
    if (m_tray->isLauncher()) {
        m_tray->PopUpMenu(QCursor::pos());
        return;
    }
    hide();
}

void TForm1::SpeedButton1Click() {
    platform::Current().OpenUrl(HomePage());
    if (!m_tray->isLauncher()) {
        hide();
    }
}

void TForm1::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.setPen(QColor(100, 100, 100));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

bool TForm1::eventFilter(QObject *watched, QEvent *event) {
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
