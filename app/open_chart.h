#pragma once
// Opening the intraday chart of a code, from the live holdings and the monitor: the one place
// that gathers what the chart draws over the minutes (the position's cost and break-even, the
// watched band).

class IntradayChartWindow;
class QString;

namespace holdings {
class Book;
}
namespace quotes {
class QuoteFeed;
}
namespace settings {
class InForce;
}

// Opens (or focuses) the code's chart over the readings of `feed`, its lines worked out afresh
// from the book's lots, the watch list and the fees in force.
IntradayChartWindow *OpenChart(const QString &code, const QString &name, quotes::QuoteFeed *feed,
                               const holdings::Book &book, const settings::InForce &inForce);
