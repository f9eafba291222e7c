#include "holdings/live_figures.h"

#include "holdings/holding_figures.h"
#include "numbers/break_even.h"
#include "numbers/cost_engine.h"
#include "numbers/decimal.h"
#include "numbers/extended.h"
#include "numbers/money.h"
#include "numbers/number_syntax.h"
#include "quotes/market.h"

#include <QMap>

#include <algorithm>

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace holdings {

using numbers::Extended;

namespace {

const QString kNone = QStringLiteral("—");

// An amount to the fen with both decimals, so that the points of a column line up: "1410.00".
QString FenText(double value) {
    return QString::number(value == 0 ? 0.0 : value, 'f', 2);
}

int SignOf(double value) {
    return value > 0 ? 1 : (value < 0 ? -1 : 0);
}

// profit / cost in percent, two decimals half up on the exact quotient (四舍五入), with a
// sign unless it shows as 0: "+1.23%", "-0.45%", "0.00%". The profit is in fen, the cost
// (average to the li times the shares) in li; empty when either does not fit.
std::optional<QString> PercentText(double profit, double average, int32_t quantity) {
    const double profitFen = profit * 100;
    const double averageLi = average * 1000;
    if (!(std::fabs(profitFen) < 1e17) || !(std::fabs(averageLi) < 1e17)) {
        return std::nullopt;
    }
    const __int128 cost = static_cast<__int128>(std::llround(averageLi)) * quantity;
    if (cost <= 0) {
        return std::nullopt;
    }
    // Hundredths of a percent: fen / li × 10^5.
    const __int128 scaled = static_cast<__int128>(std::llabs(std::llround(profitFen))) * 100000;
    __int128 hundredths = scaled / cost;
    if (2 * (scaled % cost) >= cost) {
        ++hundredths;
    }
    if (hundredths > INT64_MAX) {
        return std::nullopt;
    }
    QString text = QStringLiteral("%1.%2")
                       .arg(static_cast<qint64>(hundredths / 100))
                       .arg(static_cast<int>(hundredths % 100), 2, 10, QLatin1Char('0'));
    if (hundredths != 0) {
        text.prepend(profit > 0 ? u'+' : u'-');
    }
    return text + u'%';
}

}  // namespace

PositionList PositionsOf(const QList<storage::HoldingLot> &lots) {
    PositionList list;
    QMap<QString, QList<CheckedLot>> byCode;  // plain text order of the codes
    for (const storage::HoldingLot &lot : lots) {
        byCode[lot.code].append({lot, 0});
    }
    for (auto it = byCode.cbegin(); it != byCode.cend(); ++it) {
        // The same sums, in the same precision, as the combined cost of these lots.
        const std::optional<CombinedFigures> combined = CombineFigures(it.value());
        if (!combined) {
            list.unreadable += it.value().size();
            continue;
        }
        if (combined->quantity > 0) {
            list.positions.append({it.key(), combined->quantity, combined->average});
        }
    }
    return list;
}

LiveRow LiveRowOf(const Position &position, const QString &price, const QString &name,
                  const std::optional<numbers::FeeSchedule> &fees) {
    const numbers::InstrumentClass instrument = quotes::market::ClassOf(position.code);
    LiveRow row{position.code,
                name,
                numbers::ClassName(instrument),
                QString::number(position.quantity),
                numbers::FormatAmount(position.average),
                kNone,
                QString(),
                kNone,
                kNone,
                kNone};
    const double average = position.average;
    // Beijing trades count as Shenzhen's: the engine knows two transfer rates.
    const numbers::Exchange exchange = quotes::market::Prefix(position.code) == u"sh"
                                           ? numbers::Exchange::Shanghai
                                           : numbers::Exchange::Shenzhen;
    if (fees) {
        if (const std::optional<double> breakEven =
                numbers::BreakEvenPrice(average, position.quantity, exchange, *fees, instrument)) {
            row.breakEvenText =
                QString::number(*breakEven, 'f', numbers::QuoteDecimals(instrument));
        }
    }
    const std::optional<QString> shown = quotes::PriceText(price);
    if (!shown) {
        return row;
    }
    row.priceText = quotes::market::PriceInClassDecimals(*shown, instrument);
    const double now = shown->toDouble();
    try {
        // The exact amount, as the cost engine forms a sell amount.
        row.value = (numbers::Decimal::Whole(position.quantity) * numbers::Decimal::Of(now))
                        .rounded(2)
                        .toDouble();
        row.valueText = FenText(*row.value);
    } catch (const numbers::AmountOutOfRange &) {
        return row;
    }
    if (!fees) {
        return row;
    }
    try {
        const double profit =
            numbers::ComputeTradeCosts(average, now, position.quantity, exchange, *fees, instrument)
                .NetProfit;
        row.profit = profit;
        row.profitText = FenText(profit);
        row.sign = SignOf(profit);
    } catch (const numbers::AmountOutOfRange &) {
        return row;
    }
    row.percentText = PercentText(*row.profit, average, position.quantity).value_or(kNone);
    return row;
}

LiveTotals TotalsOf(const QList<LiveRow> &rows) {
    // Over the priced rows; a priced row without a figure (out of range, or no fee schedule)
    // leaves that total out rather than short.
    std::optional<Extended> value = 0;
    std::optional<Extended> profit = 0;
    qsizetype priced = 0;
    for (const LiveRow &row : rows) {
        if (row.priceText.isEmpty()) {
            continue;
        }
        ++priced;
        value = value && row.value ? std::optional(*value + *row.value) : std::nullopt;
        profit = profit && row.profit ? std::optional(*profit + *row.profit) : std::nullopt;
    }
    LiveTotals totals;
    const auto text = [&totals](const std::optional<Extended> &sum, bool isProfit) {
        try {
            if (sum) {
                const double rounded = numbers::RoundToFen(static_cast<double>(*sum));
                if (isProfit) {
                    totals.sign = SignOf(rounded);
                }
                return FenText(rounded);
            }
        } catch (const numbers::AmountOutOfRange &) {
        }
        return kNone;
    };
    totals.text =
        QStringLiteral("总市值 %1    总浮动盈亏 %2")
            .arg(priced > 0 ? text(value, false) : kNone, priced > 0 ? text(profit, true) : kNone);
    if (priced < rows.size()) {
        totals.text += QStringLiteral("    %1只股票无报价").arg(rows.size() - priced);
    }
    return totals;
}

quotes::ReadingStatus LiveStatus(const std::optional<quotes::FeedState> &reading, qsizetype kept,
                                 const QList<LiveRow> &rows, const QTime &at, qsizetype unreadable,
                                 const QString &feeError) {
    quotes::ReadingStatus status;
    if (reading) {
        const bool anyPrice = std::any_of(rows.cbegin(), rows.cend(), [](const LiveRow &row) {
            return !row.priceText.isEmpty();
        });
        status = quotes::DescribeReading(*reading, kept, rows.size(), at, anyPrice);
    }
    QStringList notes;
    if (unreadable > 0) {
        notes.append(QStringLiteral("%1条持仓记录无法读取,未计入").arg(unreadable));
    }
    if (!feeError.isEmpty()) {
        notes.append(QStringLiteral("费率设置有误,无法计算浮动盈亏: ") + feeError);
    }
    if (!notes.isEmpty()) {
        status.problem = true;
        const QString note = notes.join(QStringLiteral("  "));
        status.text = status.text.isEmpty() ? note : status.text + QStringLiteral("  ") + note;
        status.details = status.details.isEmpty() ? note : status.details + u'\n' + note;
    }
    return status;
}

}  // namespace holdings
