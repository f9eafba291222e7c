#pragma once
// Opening the holdings manager and the live figures of the holdings: the one place that ties
// the manager to the profit table and to the live figures.

#include <QString>

#include <functional>

class LiveHoldingsWindow;
class TForm4;
class TradeJournalWindow;

namespace holdings {
class Book;
class LiveSession;
class TradeJournal;
}  // namespace holdings
namespace settings {
class InForce;
}

// Opens the intraday chart of a code (code, name).
using ChartOpener = std::function<void(const QString &, const QString &)>;

// Opens (or focuses) the holdings manager over `book` and has the book read the lots again. Its
// "利润细分表" opens the profit table beside it with the combined figures; its "实时盈亏" opens
// the live figures of `live`, whose rows open their charts through `openChart`; it books its
// purchases and sales into `journal`, whose window its "交易记录" opens. Both windows work with
// the fees of `inForce`.
TForm4 *OpenHoldings(holdings::Book *book, holdings::LiveSession *live,
                     const settings::InForce &inForce, const ChartOpener &openChart = {},
                     holdings::TradeJournal *journal = nullptr);

// Opens (or focuses) the live figures of the holdings.
LiveHoldingsWindow *OpenLiveHoldings(holdings::LiveSession *live,
                                     const ChartOpener &openChart = {});

// Opens (or focuses) the journal window "交易记录" of `journal`.
TradeJournalWindow *OpenTradeJournal(holdings::TradeJournal *journal);
