#include "numbers/break_even.h"

#include "numbers/money.h"

#include <cmath>

namespace numbers {

namespace {

// Prices as whole ticks, so each step is exact; a price is its tick count shown with the
// class's decimals, which Decimal::Of reads back as exactly that decimal.
double PriceOf(int64_t ticks, int decimals) {
    return static_cast<double>(ticks) / std::pow(10.0, decimals);
}

}  // namespace

std::optional<double> BreakEvenPrice(double buyPrice, int32_t quantity, Exchange exchange,
                                     const FeeSchedule &fees, InstrumentClass instrument) {
    if (quantity <= 0 || !std::isfinite(buyPrice)) {
        return std::nullopt;
    }
    const FeeSchedule schedule = ScheduleFor(fees, instrument);
    const double sellRates = schedule.SellStampTaxRate + schedule.SellCommissionRate +
                             (schedule.TransferFeeBasis == TransferBasis::PerAmount
                                  ? (exchange == Exchange::Shenzhen ? schedule.ShenzhenTransferRate
                                                                    : schedule.ShanghaiTransferRate)
                                  : 0);
    if (!(sellRates < 1000)) {
        return std::nullopt;
    }
    const int decimals = QuoteDecimals(instrument);
    const auto nets = [&](int64_t ticks) {
        return ComputeTradeCosts(buyPrice, PriceOf(ticks, decimals), quantity, exchange, schedule)
                   .NetProfit >= 0;
    };
    try {
        // A price that nets at least 0: double from the buy price until one does.
        int64_t high = std::max<int64_t>(
            1, static_cast<int64_t>(std::ceil(std::max(buyPrice, 0.0) * std::pow(10.0, decimals))));
        while (!nets(high)) {
            if (high > (int64_t{1} << 50)) {
                return std::nullopt;
            }
            high *= 2;
        }
        // Bisect on the ticks below it; the net rises with the price apart from the fen a
        // rounded fee can jump by.
        int64_t low = -1;  // a tick count known not to net 0, or none below 0
        while (high - low > 1) {
            const int64_t middle = low + (high - low) / 2;
            (nets(middle) ? high : low) = middle;
        }
        // Those fen are at most a few per fee, about 0.05 yuan in all; below the found price
        // a lower tick can net 0 only within the ticks whose proceeds rise by that much.
        const double perTick = quantity * PriceOf(1, decimals) * (1 - sellRates / 1000);
        const int64_t reach = std::min<int64_t>(static_cast<int64_t>(0.06 / perTick) + 1, 1000);
        for (int64_t ticks = high - 1; ticks >= std::max<int64_t>(0, high - reach); --ticks) {
            if (nets(ticks)) {
                high = ticks;
            }
        }
        return PriceOf(high, decimals);
    } catch (const AmountOutOfRange &) {
        return std::nullopt;
    }
}

}  // namespace numbers
