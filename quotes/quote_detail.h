#pragma once
// What both quote services tell about a code beyond its price: the previous close, the
// time of the quote and what has traded today. Both services' replies are read into the same
// record, so a price looks the same whichever service gave it.

#include <QDateTime>
#include <QHash>
#include <QString>

#include <optional>

namespace quotes {

struct QuoteDetail {
    // The current price as shown (PriceText): three decimals at least ("15.320", "1.2345").
    // Empty for a code the service does not know.
    QString price;
    QString previousClose;  // same form; empty when the service gave none that reads
    QDateTime time;         // in Beijing time; invalid when the service gave none that reads
    QString name = {};      // the service's name for the code, as it sent it
    std::optional<qint64> volume = {};  // shares traded today
    std::optional<double> amount = {};  // yuan traded today
};

// By prefixed code ("sh600000"). A code whose price field is missing, cut off, not a plain
// decimal number or not above 0 (no trade yet, suspended) is left out: the reading brings no
// price for it, and the last good one stays.
using QuoteDetails = QHash<QString, QuoteDetail>;

// The shown form of a plain decimal price above 0, with three decimals at least; nothing for
// any other text.
std::optional<QString> PriceText(QStringView field);

// The name, price and previous close at these fields of a separated value; nothing when the
// price field is no price (PriceText).
std::optional<QuoteDetail> QuoteFromFields(QStringView value, QChar separator, int nameField,
                                           int priceField, int previousCloseField);

// The row's tooltip: "涨跌幅 +2.13%  行情时间 14:35:02". The change is left out when the price
// or the previous close is missing, the time when it is invalid; empty when both are.
QString QuoteTooltip(const QString &price, const QString &previousClose, const QDateTime &time);

namespace detail {
// The field at this index of a separated value, without copying; nothing past the last one.
std::optional<QStringView> Field(QStringView value, QChar separator, int index);

// A count or sum as the services send it: digits with an optional fraction, times `unit`;
// nothing for any other text. A count keeps its whole part only when the fraction is zeros.
std::optional<qint64> WholeCount(QStringView field, qint64 unit);
std::optional<double> Sum(QStringView field, double unit);
}  // namespace detail

}  // namespace quotes
