#include "app/open_holdings.h"

#include "app/open_chart.h"
#include "calc/profit_table_window.h"
#include "holdings/holdings_window.h"
#include "holdings/live_holdings_window.h"
#include "quotes/quote_feed.h"
#include "settings/fee_settings_dialog.h"
#include "settings/settings_in_force.h"

#include <QPointer>

namespace {
QPointer<quotes::QuoteFeed> g_feed;
QPointer<TSETDlg> g_feeSettings;
}  // namespace

TForm4 *OpenHoldings() {
    const bool created = !TForm4::instance;
    TForm4 *holdings = TForm4::Open();
    if (created) {
        QObject::connect(
            holdings, &TForm4::ProfitTableRequested, holdings,
            [holdings](const QString &average, const QString &cost, const QString &quantity) {
                if (!OpenProfitTable(average, cost, quantity, holdings)) {
                    holdings->ProfitTableFailed();
                }
            });
        QObject::connect(holdings, &TForm4::LiveFiguresRequested, holdings,
                         [] { OpenLiveHoldings(); });
    }
    if (LiveHoldingsWindow::instance) {
        LiveHoldingsWindow::instance->FollowLots(holdings->Lots);
    }
    holdings->LoadHoldings();
    return holdings;
}

void SetLiveHoldingsSources(quotes::QuoteFeed *feed, TSETDlg *feeSettings) {
    g_feed = feed;
    g_feeSettings = feeSettings;
}

LiveHoldingsWindow *OpenLiveHoldings() {
    const bool created = !LiveHoldingsWindow::instance;
    LiveHoldingsWindow *live = LiveHoldingsWindow::Open(g_feed, settings::Fees());
    if (created) {
        QObject::connect(live, &LiveHoldingsWindow::chartWanted, live, &OpenChart);
    }
    if (g_feeSettings) {
        QObject::connect(g_feeSettings, &TSETDlg::FeesChanged, live,
                         &LiveHoldingsWindow::FeesChanged, Qt::UniqueConnection);
    }
    if (TForm4::instance) {
        live->FollowLots(TForm4::instance->Lots);
    }
    return live;
}
