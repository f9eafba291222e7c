#include "chart/chart_figures.h"

#include "numbers/money.h"
#include "quotes/market.h"
#include "quotes/trading_calendar.h"

#include <cmath>

namespace chart {

namespace {

constexpr double kTenThousand = 10000.0;

qint64 Scaled(double value, int decimals) {
    return std::llround(value * std::pow(10.0, decimals));
}

// a / b rounded half away from zero, b above 0.
qint64 DivideHalfUp(qint64 a, qint64 b) {
    const qint64 magnitude = (std::llabs(a) * 2 + b) / (2 * b);
    return a < 0 ? -magnitude : magnitude;
}

bool IsBond(const QString &code) {
    return code.startsWith(u"11") || code.startsWith(u"12") || code.startsWith(u"13") ||
           code.startsWith(u"204");
}

bool IsFund(const QString &code) {
    return code.startsWith(u"15") || code.startsWith(u"16") || code.startsWith(u"18") ||
           code.startsWith(u"5");
}

}  // namespace

Quoting QuotingOf(const QString &code) {
    if (IsBond(code)) {
        return {3, 10};
    }
    return {IsFund(code) ? 3 : 2, 100};
}

QString PriceFigure(double price, int decimals) {
    // Quoted prices carry at most four decimals: rounding their scaled value first keeps a
    // binary fraction just under a half from rounding down.
    const qint64 scaled = Scaled(price, 4);
    qint64 divisor = 1;
    for (int i = decimals; i < 4; ++i) {
        divisor *= 10;
    }
    const qint64 rounded = DivideHalfUp(scaled, divisor);
    return QString::number(static_cast<double>(rounded) / std::pow(10.0, decimals), 'f', decimals);
}

QString ChangeFigure(double price, double previousClose) {
    const qint64 before = Scaled(previousClose, 4);
    if (before <= 0) {
        return QStringLiteral("—");
    }
    // Hundredths of a percent.
    const qint64 change = DivideHalfUp((Scaled(price, 4) - before) * 10000, before);
    QString text = QString::number(std::llabs(change) / 100) + u'.' +
                   QString::number(std::llabs(change) % 100).rightJustified(2, u'0') + u'%';
    if (change > 0) {
        text.prepend(u'+');
    } else if (change < 0) {
        text.prepend(u'-');
    }
    return text;
}

QString ReadoutText(const Minute &minute, std::optional<double> previousClose,
                    const Quoting &quoting) {
    const QString change =
        previousClose ? ChangeFigure(minute.price, *previousClose) : QStringLiteral("—");
    const QString average =
        minute.average ? PriceFigure(*minute.average, quoting.decimals) : QStringLiteral("—");
    const qint64 lots = DivideHalfUp(minute.volume, quoting.lotShares);
    return QStringLiteral("%1  价 %2  涨跌 %3  均价 %4  量 %5手")
        .arg(SlotTime(minute.slot).toString(QStringLiteral("HH:mm")),
             PriceFigure(minute.price, quoting.decimals), change, average, QString::number(lots));
}

std::optional<double> BreakEvenPrice(double cost, int32_t quantity, numbers::Exchange exchange,
                                     const numbers::FeeSchedule &fees, int decimals) {
    if (!DrawablePrice(cost) || quantity <= 0) {
        return std::nullopt;
    }
    const double tick = std::pow(10.0, -decimals);
    const auto nets = [&](qint64 ticks) {
        try {
            return numbers::ComputeTradeCosts(cost, static_cast<double>(ticks) * tick, quantity,
                                              exchange, fees)
                       .NetProfit >= 0;
        } catch (const numbers::AmountOutOfRange &) {
            return false;
        }
    };
    // The net rises with the price; the lowest price that nets 0 lies between the cost less
    // a tick and the first doubling that nets it.
    qint64 low = std::max<qint64>(0, static_cast<qint64>(std::floor(cost / tick)) - 1);
    qint64 high = low + 1;
    const qint64 limit = static_cast<qint64>(cost * 100 / tick) + 1;
    while (!nets(high)) {
        if (high >= limit) {
            return std::nullopt;
        }
        low = high;
        high = std::min(limit, high * 2);
    }
    while (high - low > 1) {
        const qint64 middle = low + (high - low) / 2;
        (nets(middle) ? high : low) = middle;
    }
    return static_cast<double>(high) * tick;
}

ChartLines LinesFor(const QString &code, std::optional<Held> held,
                    std::optional<std::pair<double, double>> band,
                    const std::optional<numbers::FeeSchedule> &fees) {
    ChartLines lines;
    if (held && DrawablePrice(held->cost) && held->quantity > 0) {
        lines.cost = held->cost;
        if (fees) {
            const numbers::Exchange exchange = quotes::market::Prefix(code) == u"sh"
                                                   ? numbers::Exchange::Shanghai
                                                   : numbers::Exchange::Shenzhen;
            lines.breakEven = BreakEvenPrice(held->cost, held->quantity, exchange, *fees,
                                             QuotingOf(code).decimals);
        }
    }
    if (band) {
        if (DrawablePrice(band->first)) {
            lines.upper = band->first;
        }
        if (DrawablePrice(band->second)) {
            lines.lower = band->second;
        }
    }
    return lines;
}

MinuteReading ReadingOfQuote(const quotes::QuoteDetail &quote, const QDateTime &now) {
    MinuteReading reading;
    reading.time = (quote.time.isValid() ? quote.time : now).toTimeZone(quotes::BeijingTime());
    reading.price = quote.price.toDouble();
    return reading;
}

}  // namespace chart
