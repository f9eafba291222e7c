#include "app/open_chart.h"

#include "chart/intraday_chart_window.h"
#include "holdings/book.h"
#include "holdings/live_figures.h"
#include "quotes/quote_feed.h"
#include "settings/settings_in_force.h"
#include "storage/watch_list_store.h"

IntradayChartWindow *OpenChart(const QString &code, const QString &name, quotes::QuoteFeed *feed,
                               const holdings::Book &book, const settings::InForce &inForce) {
    std::optional<chart::Held> held;
    for (const holdings::Position &position : holdings::PositionsOf(book.lots()).positions) {
        if (position.code == code) {
            held = chart::Held{position.average, position.quantity};
        }
    }
    std::optional<std::pair<double, double>> band;
    for (const storage::WatchEntry &entry : storage::LoadWatchList(storage::Database())) {
        if (entry.code == code) {
            band = std::pair(entry.upper.value, entry.lower.value);
            break;
        }
    }
    return IntradayChartWindow::Open(
        {code, name, chart::LinesFor(code, held, band, inForce.fees().schedule)}, feed);
}
