#include "holdings/live_figures.h"

#include "holdings/holding_figures.h"
#include "numbers/cost_engine.h"
#include "numbers/decimal.h"
#include "numbers/extended.h"
#include "numbers/money.h"
#include "numbers/number_syntax.h"
#include "quotes/market.h"
#include "storage/watch_list_store.h"

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

PositionList PositionsOf(const storage::LotsRead &lots) {
    PositionList list;
    list.unreadable = lots.unreadable;
    QMap<QString, QList<LotRow>> byCode;  // plain text order of the codes
    for (const storage::HoldingLot &lot : lots.lots) {
        byCode[lot.code].append(RowOf(lot, std::nullopt));
    }
    for (auto it = byCode.cbegin(); it != byCode.cend(); ++it) {
        // The same sums, in the same precision, as the combined cost of these lots.
        const CombinedCost combined = CombineCheckedLots(it.value());
        if (combined.message) {
            list.unreadable += it.value().size();
            continue;
        }
        const std::optional<int32_t> quantity = numbers::ParseWholeNumber(combined.quantityText);
        if (!quantity || *quantity <= 0) {
            continue;
        }
        list.positions.append({it.key(), *quantity, combined.averageText});
    }
    return list;
}

LiveRow LiveRowOf(const Position &position, const QString &price, const QString &name,
                  const std::optional<numbers::FeeSchedule> &fees) {
    LiveRow row{position.code,
                name,
                QString::number(position.quantity),
                position.averageText,
                QString(),
                kNone,
                kNone,
                kNone};
    const std::optional<QString> shown = quotes::PriceText(price);
    if (!shown) {
        return row;
    }
    row.priceText = *shown;
    const double now = shown->toDouble();
    try {
        // The exact amount, as the cost engine forms a sell amount.
        row.value = (numbers::Decimal::Whole(position.quantity) * numbers::Decimal::Of(now))
                        .Rounded(2)
                        .ToDouble();
        row.valueText = FenText(*row.value);
    } catch (const numbers::AmountOutOfRange &) {
        return row;
    }
    const std::optional<double> average = numbers::ParseDecimal(position.averageText);
    if (!fees || !average) {
        return row;
    }
    const numbers::Exchange exchange = quotes::market::Prefix(position.code) == u"sh"
                                           ? numbers::Exchange::Shanghai
                                           : numbers::Exchange::Shenzhen;
    try {
        const double profit =
            numbers::ComputeTradeCosts(*average, now, position.quantity, exchange, *fees).NetProfit;
        row.profit = profit;
        row.profitText = FenText(profit);
        row.sign = SignOf(profit);
    } catch (const numbers::AmountOutOfRange &) {
        return row;
    }
    row.percentText = PercentText(*row.profit, *average, position.quantity).value_or(kNone);
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

void LiveHoldings::SetLots(const storage::LotsRead &lots) {
    const PositionList list = PositionsOf(lots);
    m_positions = list.positions;
    m_unreadable = list.unreadable;
    const QStringList held = codes();
    for (auto it = m_quotes.begin(); it != m_quotes.end();) {
        it = held.contains(it.key()) ? std::next(it) : m_quotes.erase(it);
    }
}

QStringList LiveHoldings::codes() const {
    QStringList codes;
    for (const Position &position : m_positions) {
        codes.append(position.code);
    }
    return codes;
}

qsizetype LiveHoldings::Apply(const quotes::FeedReading &reading) {
    qsizetype kept = 0;
    for (const Position &position : m_positions) {
        if (const std::optional<quotes::QuoteDetail> quote = reading.quote(position.code)) {
            m_quotes.insert(position.code, *quote);
        } else {
            ++kept;
        }
    }
    return kept;
}

QList<LiveRow> LiveHoldings::Rows(const std::optional<numbers::FeeSchedule> &fees) const {
    QList<LiveRow> rows;
    rows.reserve(m_positions.size());
    for (const Position &position : m_positions) {
        const quotes::QuoteDetail quote = m_quotes.value(position.code);
        rows.append(
            LiveRowOf(position, quote.price, storage::CleanName(quote.name).trimmed(), fees));
    }
    return rows;
}

quotes::ReadingStatus LiveStatus(const std::optional<quotes::FeedState> &reading, qsizetype kept,
                                 const QList<LiveRow> &rows, const QTime &at, qsizetype unreadable,
                                 const QString &feeError) {
    quotes::ReadingStatus status;
    if (reading) {
        quotes::QuoteReading described;
        described.error = reading->error;
        described.mainError = reading->mainError;
        described.source = reading->source;
        const bool anyPrice = std::any_of(rows.cbegin(), rows.cend(), [](const LiveRow &row) {
            return !row.priceText.isEmpty();
        });
        status =
            quotes::DescribeReading(described, kept, rows.size(), at, reading->closed, anyPrice);
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
