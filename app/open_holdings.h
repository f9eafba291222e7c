#pragma once
// Opening the holdings manager and the live figures of the holdings: the one place that ties
// the manager to the profit table and to the live figures.

class LiveHoldingsWindow;
class TForm4;

namespace quotes {
class QuoteFeed;
}
namespace settings {
class InForce;
}

// Opens (or focuses) the holdings manager and reloads its list from the database. Its
// "利润细分表" opens the profit table beside it with the combined figures; its "实时盈亏" opens
// the live figures with prices from `feed`. Both windows work with the fees of `inForce`.
TForm4 *OpenHoldings(quotes::QuoteFeed *feed, const settings::InForce &inForce);

// Opens (or focuses) the live figures of the holdings. Lots added, changed, merged or deleted
// in an open holdings manager show in them at once.
LiveHoldingsWindow *OpenLiveHoldings(quotes::QuoteFeed *feed, const settings::InForce &inForce);
