#include "app/open_holdings.h"

#include "calc/profit_table_window.h"
#include "holdings/book.h"
#include "holdings/holdings_window.h"
#include "holdings/journal_window.h"
#include "holdings/live_holdings_window.h"
#include "holdings/live_session.h"

#include <QPointer>

namespace {
QPointer<holdings::Book> g_book;
QPointer<holdings::LiveSession> g_live;
QPointer<holdings::TradeJournal> g_journal;
}  // namespace

TForm4 *OpenHoldings() {
    const bool created = !TForm4::instance;
    TForm4 *holdings = TForm4::Open(g_book.data());
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
        QObject::connect(holdings, &TForm4::JournalRequested, holdings, [] { OpenTradeJournal(); });
        holdings->SetJournal(g_journal.data());
    }
    holdings->LoadHoldings();
    return holdings;
}

void SetHoldingsSources(holdings::Book *book, holdings::LiveSession *live) {
    g_book = book;
    g_live = live;
}

LiveHoldingsWindow *OpenLiveHoldings() {
    return LiveHoldingsWindow::Open(g_live.data());
}

void SetTradeJournal(holdings::TradeJournal *journal) {
    g_journal = journal;
}

TradeJournalWindow *OpenTradeJournal() {
    return g_journal ? TradeJournalWindow::Open(g_journal.data()) : nullptr;
}
