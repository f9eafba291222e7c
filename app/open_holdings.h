#pragma once
// Opening the holdings manager and the live figures of the holdings: the one place that ties
// the manager to the profit table and to the live figures.

class LiveHoldingsWindow;
class TForm4;
class TradeJournalWindow;

namespace holdings {
class Book;
class LiveSession;
class TradeJournal;
}  // namespace holdings

// Opens (or focuses) the holdings manager and has the book read the lots again. Its
// "利润细分表" opens the profit table beside it with the combined figures; its "实时盈亏" opens
// the live figures.
TForm4 *OpenHoldings();

// The book the manager shows and the live session the live figures show; set once at start.
void SetHoldingsSources(holdings::Book *book, holdings::LiveSession *live);

// Opens (or focuses) the live figures of the holdings.
LiveHoldingsWindow *OpenLiveHoldings();

// The journal the manager books into and the journal window shows; set once at start.
void SetTradeJournal(holdings::TradeJournal *journal);

// Opens (or focuses) the journal window "交易记录".
TradeJournalWindow *OpenTradeJournal();
