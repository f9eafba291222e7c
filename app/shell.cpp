#include "app/shell.h"

#include "app/open_chart.h"
#include "app/open_holdings.h"
#include "app/tray.h"
#include "calc/average_price_window.h"
#include "calc/compact_difference_window.h"
#include "monitor/monitor_window.h"
#include "monitor/overlay_window.h"
#include "platform/platform.h"
#include "storage/database.h"
#include "widgets/tool_window.h"

namespace {

// The settings dialogs are modal to nothing but themselves, so the tray menu stays usable;
// choosing an open one brings it forward.
void ShowDialog(QDialog *dialog) {
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

Shell::Shell(std::unique_ptr<quotes::QuoteFeed> feed, std::function<bool()> trayAvailable)
    : m_about(std::move(trayAvailable)),
      m_refresh(m_inForce),
      m_feeSettings(m_inForce),
      m_systemParameters(m_inForce),
      m_feed(feed ? std::move(feed) : std::make_unique<quotes::QuoteFeed>()),
      m_live(m_feed.get(), &m_book, m_inForce),
      // Purchases, sales, dividends and bonus shares, booked with the lots they change.
      m_journal(storage::Database(), [this] { return m_inForce.fees().schedule; }),
      // A row that starts to alarm is told to the desktop's notification service; where none
      // answers, to the tray icon's balloon; without a tray, only the monitor shows it.
      m_session(m_feed.get(), {[this](const QString &row, const QString &summary) {
                                   m_notifier.notify(row, summary);
                               },
                               [] { platform::Current().playEventSound(); }}),
      m_watchList(&m_session) {
    // Loading the parameters may already start the refresh.
    connect(&m_systemParameters, &TmyDlg::refreshChanged, &m_refresh,
            &TradingClientRefresh::setRefresh);
    m_systemParameters.load();
    m_journal.setBook(&m_book);
    m_journal.addTableIfMissing();
    routeMenu();
    routeMonitoring();
}

Shell::~Shell() {
    // The tool windows hold references to the services: they go first.
    delete m_overlay.data();
    delete m_monitor.data();
}

TForm10 *Shell::monitorWindow() const {
    return m_monitor;
}

TForm12 *Shell::overlay() const {
    return m_overlay;
}

void Shell::start() {
    m_about.show();
}

void Shell::routeMenu() {
    const TForm1 &about = m_about;
    connect(about.N1, &QAction::triggered, this, [this] { TForm5::Open(m_inForce); });
    connect(about.N2, &QAction::triggered, this, [this] { TForm6::Open(m_inForce); });
    // Every use reloads the list, so an open manager is brought up to date.
    connect(about.N6, &QAction::triggered, this,
            [this] { OpenHoldings(&m_book, &m_live, m_inForce, chartOpener(), &m_journal); });
    connect(about.N8, &QAction::triggered, this, [this] { ShowDialog(&m_feeSettings); });
    connect(about.N9, &QAction::triggered, this, [this] { ShowDialog(&m_systemParameters); });
    connect(about.N10, &QAction::triggered, this, [this] { ShowDialog(&m_manual); });
    connect(about.N12, &QAction::triggered, this, [this] { ShowDialog(&m_watchList); });
    connect(about.N14, &QAction::triggered, this, [this] {
        if (m_watchList.showMonitor(&m_about)) {
            showMonitor();
        }
    });
}

void Shell::routeMonitoring() {
    // A new monitor window for each start of monitoring; the old one goes when it ends.
    connect(&m_session, &monitor::WatchSession::started, this, &Shell::openMonitor);
    connect(&m_session, &monitor::WatchSession::stopped, this, [this] {
        if (m_monitor) {
            m_monitor->close();
        }
    });
    // The overlay shows the monitor's prices: it goes when the dialog stops monitoring, and
    // never lies over the dialog taking its clicks.
    connect(&m_watchList, &TSeeDlg::opened, this, [this] {
        if (m_overlay) {
            m_overlay->close();
        }
    });
    connect(
        &m_notifier, &monitor::AlarmNotifier::unavailable, this,
        [this](const QString &, const QString &summary) { m_about.tray()->showMessage(summary); });
    connect(&m_notifier, &monitor::AlarmNotifier::activated, this, &Shell::showMonitor);
    connect(m_about.tray()->icon(), &QSystemTrayIcon::messageClicked, this, &Shell::showMonitor);
}

void Shell::openMonitor() {
    m_monitor = TForm10::Open(&m_session);
    connect(m_monitor, &TForm10::overlayWanted, this, &Shell::openOverlay, Qt::UniqueConnection);
    connect(m_monitor, &TForm10::chartWanted, this, chartOpener(), Qt::UniqueConnection);
}

ChartOpener Shell::chartOpener() {
    return [this](const QString &code, const QString &name) {
        OpenChart(code, name, m_feed.get(), m_book, m_inForce);
    };
}

void Shell::openOverlay() {
    m_overlay = TForm12::Open(m_inForce, &m_session);
}

void Shell::showMonitor() {
    if (m_session.active() && m_monitor) {
        FocusWindow(m_monitor);
    }
}
