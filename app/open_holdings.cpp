#include "app/open_holdings.h"

#include "calc/profit_table_window.h"
#include "holdings/book.h"
#include "holdings/holdings_window.h"
#include "holdings/journal_window.h"
#include "holdings/live_holdings_window.h"
#include "holdings/live_session.h"
#include "quotes/market.h"
#include "settings/settings_in_force.h"

#include <QPointer>

TForm4 *OpenHoldings(holdings::Book *book, holdings::LiveSession *live,
                     const settings::InForce &inForce, const ChartOpener &openChart,
                     holdings::TradeJournal *journal) {
    const bool created = !TForm4::instance;
    TForm4 *holdings = TForm4::Open(book, inForce);
    if (created) {
        QObject::connect(holdings, &TForm4::profitTableRequested, holdings,
                         [holdings, &inForce](const QString &average, const QString &cost,
                                              const QString &quantity, const QString &code) {
                             if (!OpenProfitTable(average, cost, quantity, holdings, inForce,
                                                  quotes::market::ClassOf(code))) {
                                 holdings->profitTableFailed();
                             }
                         });
        QObject::connect(holdings, &TForm4::liveFiguresRequested, holdings,
                         [live = QPointer<holdings::LiveSession>(live), openChart] {
                             OpenLiveHoldings(live, openChart);
                         });
        QObject::connect(
            holdings, &TForm4::journalRequested, holdings,
            [journal = QPointer<holdings::TradeJournal>(journal)] { OpenTradeJournal(journal); });
        holdings->setJournal(journal);
    }
    holdings->LoadHoldings();
    return holdings;
}

LiveHoldingsWindow *OpenLiveHoldings(holdings::LiveSession *live, const ChartOpener &openChart) {
    const bool created = !LiveHoldingsWindow::instance;
    LiveHoldingsWindow *window = LiveHoldingsWindow::Open(live);
    if (created && openChart) {
        QObject::connect(window, &LiveHoldingsWindow::chartWanted, window, openChart);
    }
    return window;
}

TradeJournalWindow *OpenTradeJournal(holdings::TradeJournal *journal) {
    return journal ? TradeJournalWindow::Open(journal) : nullptr;
}
