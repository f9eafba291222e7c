#pragma once
// TForm1: the main window. It is the about screen, owns the tray icon and its menu, and hosts
// the trading-client refresh timer.

#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QUrl>
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

class QMouseEvent;
class TSETDlg;
class TmyDlg;
class TSeeDlg;
class THELPDLG;

class TForm1 final : public QWidget {
    Q_OBJECT
public:
    // `trayAvailable` tells whether a notification area is there now; it is asked again every
    // second, as trays come and go.
    explicit TForm1(std::function<bool()> trayAvailable = &QSystemTrayIcon::isSystemTrayAvailable);

    // The program-wide reference to the main window.
    static inline QPointer<TForm1> instance;

    PictureBox *Image1;
    QLabel *Label1;
    QPushButton *SpeedButton1;
    QTimer *Timer1;
    QTimer *Timer2;
    QMenu *Menu1 = nullptr;  // built after controls whose events are already filtered
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
    // The manual that "简易手册" shows.
    void SetManual(THELPDLG *manual);

    // The watch-list dialog that "股票价格监控设置" shows and "查看监控股票价格" asks.
    void SetWatchListDialog(TSeeDlg *watchList);

    // True while there is no tray: the main window then stays up and offers the menu itself.
    bool isLauncher() const { return m_launcher; }

    // The line that tells what a Wayland-only session cannot do; shown only there.
    QLabel *sessionNote() const { return m_sessionNote; }

    // Starts or stops the trading-client refresh. A seconds value below 1 gives no interval:
    // the refresh then never fires.
    void SetRefresh(bool on, int32_t seconds);

    void Timer1Timer();
    // Refreshes the trading client; once it was found, the interval follows the seconds of
    // the system parameters in force.
    void Timer2Timer();
    void Image1Click();
    void SpeedButton1Click();
    void PopUpMenu(const QPoint &globalPosition);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenu();
    void checkTray();
    // Whether a press on the menu is the second press of the double click that opened it.
    bool isSecondPressOfOpening(const QMouseEvent &press) const;
    void setLauncher(bool launcher);

    std::function<bool()> m_trayAvailable;
    QPointer<TSETDlg> m_feeSettings;
    QPointer<TmyDlg> m_systemParameters;
    QPointer<TSeeDlg> m_watchList;
    QPointer<THELPDLG> m_manual;
    QLabel *m_launcherHint;
    QLabel *m_sessionNote;
    QTimer *m_trayWatch;
    bool m_launcher = false;
    QPoint m_menuOpenedAt;
    QElapsedTimer m_menuOpening;
    bool m_swallowRelease = false;
    bool m_aboutOver = false;  // the first second of the about screen has passed
};
