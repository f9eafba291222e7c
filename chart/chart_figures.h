#pragma once
// The figures a chart shows beside its minutes: how many decimals and how many shares to a
// lot the exchange uses for a code, the readout line of a minute, and the lines drawn over the
// minutes.

#include "chart/minute_series.h"
#include "numbers/cost_engine.h"
#include "numbers/fee_schedule.h"
#include "quotes/quote_detail.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace chart {

// How a code is quoted: the exchange's decimals (2 for shares, 3 for funds and bonds) and the
// shares in one lot of the readout (100, 10 for bonds).
struct Quoting {
    int decimals = 2;
    int lotShares = 100;
};
Quoting QuotingOf(const QString &code);

// The price to `decimals`, half up.
QString PriceFigure(double price, int decimals);

// The change against the previous close in percent, half up to two decimals, with its sign
// ("+1.25%", "-0.40%", "0.00%").
QString ChangeFigure(double price, double previousClose);

// "HH:MM  价 P  涨跌 ±X.XX%  均价 A  量 N手"; the change and the average are "—" where there
// is none, the volume in lots half up.
QString ReadoutText(const Minute &minute, std::optional<double> previousClose,
                    const Quoting &quoting);

// The lines drawn over a code's minutes: the position's average cost and the price at which
// selling it nets nothing, and the watched band.
struct ChartLines {
    std::optional<double> cost;
    std::optional<double> breakEven;
    std::optional<double> upper;
    std::optional<double> lower;
};

// A position held: the average cost as the live holdings show it, and the quantity.
struct Held {
    double cost = 0;
    int32_t quantity = 0;
};

// The lines of `code`: cost and break-even when held (the break-even under `fees` when they
// read, found by the cost engine at the class's tick), the band when watched.
ChartLines LinesFor(const QString &code, std::optional<Held> held,
                    std::optional<std::pair<double, double>> band,
                    const std::optional<numbers::FeeSchedule> &fees);

// A quote as a reading of the minute series; its time, or `now` when it gave none.
MinuteReading ReadingOfQuote(const quotes::QuoteDetail &quote, const QDateTime &now);

}  // namespace chart
