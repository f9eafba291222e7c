#include "app/main_window.h"

#include "app/about_picture.h"
#include "app/tray.h"
#include "platform/platform.h"
#include "widgets/fonts.h"
#include "widgets/pictures.h"
#include "widgets/tool_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QPainter>

void PictureBox::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, pixmap());
}

TForm1::TForm1(std::function<bool()> trayAvailable)
    : QWidget(nullptr, Qt::FramelessWindowHint), m_client(new QWidget(this)) {
    setWindowTitle(QStringLiteral("岚石股票收益计算器"));
    setFont(SongTi());
    SetBackground(this, QColor(255, 128, 0));
    // A thin frame and no title bar: the picture's area is 442 x 291 less the 40 pixels a
    // title bar would take, and the frame goes around it.
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
    SpeedButton1->setAccessibleName(QStringLiteral("访问岚石软件工作室主页"));
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
    if (!platform::Current().controlsWindows()) {
        m_sessionNote->adjustSize();
        m_sessionNote->move(0, Label1->height());
        m_sessionNote->show();
    }

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);

    m_tray = new Tray(this, std::move(trayAvailable));
    m_tray->addLauncherSurface(Label1);
    wireMenu();

    CentreWhenFirstShown(this);
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
    m_tray->allowLauncher();
    if (!m_tray->isLauncher()) {
        hide();
    }
}

void TForm1::Image1Click() {
    if (m_tray->isLauncher()) {
        m_tray->popUpMenu(QCursor::pos());
        return;
    }
    hide();
}

void TForm1::SpeedButton1Click() {
    platform::Current().openUrl(HomePage());
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
