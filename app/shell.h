#pragma once
// The program's shell: owns the services (the settings in force, the quote feed, the holdings
// book and its live session, the watch session with its notifier, the trading-client refresh),
// the long-lived dialogs and the
// about screen with the tray, and is the one place that opens windows: it routes the tray
// menu, gives every window what it needs when it builds it, and keeps the pointers of the
// monitor and the overlay it opened.

#include "app/main_window.h"
#include "app/manual_dialog.h"
#include "app/open_holdings.h"
#include "app/trading_client_refresh.h"
#include "holdings/book.h"
#include "holdings/live_session.h"
#include "holdings/trade_journal.h"
#include "monitor/alarm_notifier.h"
#include "monitor/watch_list_dialog.h"
#include "monitor/watch_session.h"
#include "quotes/quote_feed.h"
#include "settings/fee_settings_dialog.h"
#include "settings/settings_in_force.h"
#include "settings/system_parameters_dialog.h"

#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>

#include <functional>
#include <memory>

class TForm10;
class TForm12;

class Shell final : public QObject {
    Q_OBJECT
public:
    // Reads the settings from the database in the current folder. Prices come from `feed`
    // (the services' own when none is given); `trayAvailable` tells whether a notification
    // area is there now.
    explicit Shell(std::unique_ptr<quotes::QuoteFeed> feed = nullptr,
                   std::function<bool()> trayAvailable = &QSystemTrayIcon::isSystemTrayAvailable);
    ~Shell() override;
    Shell(const Shell &) = delete;
    Shell &operator=(const Shell &) = delete;

    // Shows the about screen; the program then lives in the tray.
    void start();

    TForm1 &about() { return m_about; }
    settings::InForce &inForce() { return m_inForce; }
    quotes::QuoteFeed &feed() { return *m_feed; }
    holdings::Book &book() { return m_book; }
    monitor::WatchSession &session() { return m_session; }
    TSETDlg &feeSettings() { return m_feeSettings; }
    TmyDlg &systemParameters() { return m_systemParameters; }
    THELPDLG &manual() { return m_manual; }
    TSeeDlg &watchList() { return m_watchList; }
    TForm10 *monitorWindow() const;
    TForm12 *overlay() const;

    // Brings the monitor forward while monitoring runs.
    void showMonitor();

private:
    void routeMenu();
    void routeMonitoring();
    void openMonitor();
    void openOverlay();
    ChartOpener chartOpener();

    settings::InForce m_inForce;
    TForm1 m_about;  // with the tray icon and its menu
    TradingClientRefresh m_refresh;
    TSETDlg m_feeSettings;
    TmyDlg m_systemParameters;
    THELPDLG m_manual;
    std::unique_ptr<quotes::QuoteFeed> m_feed;
    holdings::Book m_book;
    holdings::LiveSession m_live;  // the live figures of the book's lots
    holdings::TradeJournal m_journal;
    monitor::AlarmNotifier m_notifier;
    monitor::WatchSession m_session;
    TSeeDlg m_watchList;
    QPointer<TForm10> m_monitor;
    QPointer<TForm12> m_overlay;
};
