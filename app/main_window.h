#pragma once
// TForm1: the main window, the about screen. It holds the tray icon with the menu (the shell
// routes the menu's entries), shows itself again from "关于" and ends the program from "退出".

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

#include <functional>

// A picture drawn as it is, whether enabled or not (a disabled label would grey it).
class PictureBox final : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *event) override;
};

class Tray;

class TForm1 final : public QWidget {
    Q_OBJECT
public:
    // `trayAvailable` tells whether a notification area is there now (see Tray).
    explicit TForm1(std::function<bool()> trayAvailable = &QSystemTrayIcon::isSystemTrayAvailable);

    PictureBox *Image1;
    QLabel *Label1;
    QPushButton *SpeedButton1;
    QTimer *Timer1;

    // The tray menu's entries (Tray builds them).
    QAction *N8;
    QAction *N9;
    QAction *N5;
    QAction *N1;
    QAction *N2;
    QAction *N6;
    QAction *N13;
    QAction *N12;
    QAction *N14;
    QAction *N3;
    QAction *N4;
    QAction *N10;
    QAction *N11;
    QAction *N7;

    // The tray icon with the menu, and the launcher used where there is no tray.
    Tray *tray() const { return m_tray; }

    // The line that tells what a Wayland-only session cannot do; shown only there.
    QLabel *sessionNote() const { return m_sessionNote; }

    void Timer1Timer();
    void Image1Click();
    void SpeedButton1Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void wireMenu();

    QWidget *m_client;  // the area inside the thin frame
    Tray *m_tray;
    QLabel *m_sessionNote;
    bool m_aboutOver = false;  // the first second of the about screen has passed
};
