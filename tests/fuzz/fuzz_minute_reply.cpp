// libFuzzer target: damaged replies of the minute service through their parsing and into the
// day's minutes a chart draws. Each input is read as the reply for one code; the rows that
// come back are put into a minute series, and whatever the bytes, the series holds at most the
// day's 241 minutes, each with a finite price above 0 and no negative volume.
//   scripts/fuzz.sh [seconds]

#include "chart/minute_series.h"
#include "quotes/minute_service.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>

namespace {

void Require(bool holds) {
    if (!holds) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray json(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const std::optional<quotes::MinuteReply> reply =
        quotes::ParseMinuteReply(json, QStringLiteral("sh600000"));
    if (!reply) {
        return 0;
    }
    Require(reply->broken >= 0);
    Require(!reply->previousClose || chart::DrawablePrice(*reply->previousClose));
    chart::MinuteSeries series(reply->day);
    if (reply->previousClose) {
        series.setPreviousClose(*reply->previousClose);
    }
    for (const quotes::MinuteRow &row : reply->rows) {
        Require(chart::DrawablePrice(row.price) && row.volume >= 0);
        series.put(chart::SlotOfLabel(row.hour, row.minute), row.price, row.volume, row.amount);
    }
    Require(series.count() >= 0 && series.count() <= chart::kMinutesPerDay);
    const chart::MinuteSeries::Minutes minutes = series.derive();
    Require(minutes.count == series.count());
    int held = 0;
    for (int slot = 0; slot < chart::kMinutesPerDay; ++slot) {
        const chart::Minute &minute = minutes.at[static_cast<std::size_t>(slot)];
        if (minute.slot < 0) {
            continue;
        }
        ++held;
        Require(minute.slot == slot);
        Require(chart::DrawablePrice(minute.price) && minute.volume >= 0);
        Require(!minute.average || (std::isfinite(*minute.average) && *minute.average >= 0));
    }
    Require(held == minutes.count);
    Require(series.latest() < chart::kMinutesPerDay);
    return 0;
}
