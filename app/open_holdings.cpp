#include "app/open_holdings.h"

#include "calc/profit_table_window.h"
#include "holdings/holdings_window.h"
#include "holdings/live_holdings_window.h"
#include "quotes/quote_feed.h"
#include "settings/settings_in_force.h"

#include <QPointer>

TForm4 *OpenHoldings(quotes::QuoteFeed *feed, const settings::InForce &inForce) {
    const bool created = !TForm4::instance;
    TForm4 *holdings = TForm4::Open(inForce);
    if (created) {
        QObject::connect(holdings, &TForm4::ProfitTableRequested, holdings,
                         [holdings, &inForce](const QString &average, const QString &cost,
                                              const QString &quantity) {
                             if (!OpenProfitTable(average, cost, quantity, holdings, inForce)) {
                                 holdings->ProfitTableFailed();
                             }
                         });
        QObject::connect(holdings, &TForm4::LiveFiguresRequested, holdings,
                         [feed = QPointer<quotes::QuoteFeed>(feed), &inForce] {
                             OpenLiveHoldings(feed, inForce);
                         });
    }
    if (LiveHoldingsWindow::instance) {
        LiveHoldingsWindow::instance->FollowLots(holdings->Lots);
    }
    holdings->LoadHoldings();
    return holdings;
}

LiveHoldingsWindow *OpenLiveHoldings(quotes::QuoteFeed *feed, const settings::InForce &inForce) {
    LiveHoldingsWindow *live = LiveHoldingsWindow::Open(feed, inForce);
    if (TForm4::instance) {
        live->FollowLots(TForm4::instance->Lots);
    }
    return live;
}
