#pragma once
// Opening the holdings manager and the live figures of the holdings: the one place that ties
// the manager to the profit table and to the live figures.

class LiveHoldingsWindow;
class TForm4;
class TSETDlg;

namespace quotes {
class QuoteFeed;
}

// Opens (or focuses) the holdings manager and reloads its list from the database. Its
// "利润细分表" opens the profit table beside it with the combined figures; its "实时盈亏" opens
// the live figures.
TForm4 *OpenHoldings();

// Where the live figures take their prices, and the fee dialog whose changes they follow; set
// once at start.
void SetLiveHoldingsSources(quotes::QuoteFeed *feed, TSETDlg *feeSettings);

// Opens (or focuses) the live figures of the holdings. Lots added, changed, merged or deleted
// in an open holdings manager show in them at once.
LiveHoldingsWindow *OpenLiveHoldings();
