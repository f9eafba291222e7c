#include "chart/chart_figures.h"

#include "numbers/break_even.h"
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

}  // namespace

Quoting QuotingOf(const QString &code) {
    const numbers::InstrumentClass instrument = quotes::market::ClassOf(code);
    return {numbers::QuoteDecimals(instrument),
            instrument == numbers::InstrumentClass::Bond ? 10 : 100};
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
            lines.breakEven = numbers::BreakEvenPrice(held->cost, held->quantity, exchange, *fees,
                                                      quotes::market::ClassOf(code));
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
    reading.volume = quote.volume;
    reading.amount = quote.amount;
    return reading;
}

}  // namespace chart
