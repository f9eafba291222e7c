#pragma once
// Opening the intraday chart of a code, from the live holdings and the monitor: the one place
// that gathers what the chart draws over the minutes (the position's cost and break-even, the
// watched band).

class IntradayChartWindow;
class QString;

namespace quotes {
class QuoteFeed;
}

// Where the charts take their readings; set once at start.
void SetChartFeed(quotes::QuoteFeed *feed);

// Opens (or focuses) the code's chart, its lines read afresh from the lots, the watch list
// and the fees in force.
IntradayChartWindow *OpenChart(const QString &code, const QString &name);
