#include "app/open_chart.h"

#include "chart/intraday_chart_window.h"
#include "holdings/live_figures.h"
#include "quotes/quote_feed.h"
#include "settings/settings_in_force.h"
#include "storage/holdings_store.h"
#include "storage/watch_list_store.h"

#include <QPointer>

namespace {
QPointer<quotes::QuoteFeed> g_feed;
}  // namespace

void SetChartFeed(quotes::QuoteFeed *feed) {
    g_feed = feed;
}

IntradayChartWindow *OpenChart(const QString &code, const QString &name) {
    const storage::Database database = storage::Database();
    std::optional<chart::Held> held;
    if (const std::optional<storage::LotsRead> lots = storage::ReadEveryLot(database)) {
        for (const holdings::Position &position : holdings::PositionsOf(*lots).positions) {
            if (position.code == code) {
                held = chart::Held{position.averageText.toDouble(), position.quantity};
            }
        }
    }
    std::optional<std::pair<double, double>> band;
    for (const storage::WatchEntry &entry : storage::LoadWatchList(database)) {
        if (entry.code == code) {
            band = std::pair(entry.upper.value, entry.lower.value);
            break;
        }
    }
    const settings::FeeSettings &fees = settings::Fees();
    const numbers::FeeScheduleReading schedule =
        numbers::ReadFeeSchedule(fees.FeeTexts(), fees.TransferFeeBasis());
    return IntradayChartWindow::Open(
        {code, name, chart::LinesFor(code, held, band, schedule.schedule)}, g_feed);
}
