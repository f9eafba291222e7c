#pragma once
// TForm1: the main window. It is the about screen, owns the tray icon and its menu, and hosts
// the trading-client refresh timer.

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QUrl>
#include <QWidget>

// A picture drawn as it is, whether enabled or not (a disabled label would grey it).
class PictureBox final : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *event) override;
};

class TSETDlg;
class TmyDlg;

class TForm1 final : public QWidget {
    Q_OBJECT
public:
    TForm1();

    // The program-wide reference to the main window.
    static inline QPointer<TForm1> instance;

    PictureBox *Image1;
    QLabel *Label1;
    QPushButton *SpeedButton1;
    QTimer *Timer1;
    QTimer *Timer2;
    QMenu *Menu1;
    QSystemTrayIcon *TrayIcon;

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

    // The long-lived settings dialogs that the menu shows.
    void SetDialogs(TSETDlg *feeSettings, TmyDlg *systemParameters);

    // True while there is no tray: the main window then stays up and offers the menu itself.
    bool isLauncher() const { return m_launcher; }

    // The line that tells what a Wayland-only session cannot do; shown only there.
    QLabel *sessionNote() const { return m_sessionNote; }

    // Starts or stops the trading-client refresh. A seconds value below 1 gives no interval:
    // the refresh then never fires.
    void SetRefresh(bool on, int32_t seconds);

    void Timer1Timer();
    void Image1Click();
    void SpeedButton1Click();
    void PopUpMenu(const QPoint &globalPosition);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenu();
    void checkTray();
    void setLauncher(bool launcher);

    QPointer<TSETDlg> m_feeSettings;
    QPointer<TmyDlg> m_systemParameters;
    QLabel *m_launcherHint;
    QLabel *m_sessionNote;
    QTimer *m_trayRetry;
    bool m_launcher = false;
};
