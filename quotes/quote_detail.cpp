#include "quotes/quote_detail.h"

#include "quotes/trading_calendar.h"

#include <QRegularExpression>

namespace quotes {

namespace detail {

std::optional<QStringView> Field(QStringView value, QChar separator, int index) {
    qsizetype start = 0;
    for (int field = 0; field < index; ++field) {
        start = value.indexOf(separator, start);
        if (start < 0) {
            return std::nullopt;
        }
        ++start;
    }
    const qsizetype end = value.indexOf(separator, start);
    return value.sliced(start, (end < 0 ? value.size() : end) - start);
}

namespace {

// Up to 15 integer digits: a day's shares or yuan, exact in a double and far from overflow.
const QRegularExpression &PlainNumber() {
    static const QRegularExpression kNumber(QStringLiteral(R"(^(\d{1,15})(?:\.(\d{1,6}))?$)"));
    return kNumber;
}

}  // namespace

std::optional<qint64> WholeCount(QStringView field, qint64 unit) {
    const QRegularExpressionMatch match = PlainNumber().match(field.toString());
    if (!match.hasMatch() || match.capturedView(2).count(u'0') != match.capturedView(2).size()) {
        return std::nullopt;
    }
    return match.capturedView(1).toLongLong() * unit;
}

std::optional<double> Sum(QStringView field, double unit) {
    if (!PlainNumber().match(field.toString()).hasMatch()) {
        return std::nullopt;
    }
    return field.toDouble() * unit;
}

}  // namespace detail

std::optional<QString> PriceText(QStringView field) {
    // Digits with an optional fraction: no sign, exponent or blank. Nine integer digits are
    // far above any price and keep the value exact in a double.
    static const QRegularExpression kPlain(QStringLiteral(R"(^(\d{1,9})(?:\.(\d{1,6}))?$)"));
    const QRegularExpressionMatch match = kPlain.match(field.toString());
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    const qlonglong whole = match.capturedView(1).toLongLong();
    // Three decimals at least, the main service's own form ("15.320"), which the second
    // service's shorter "15.32" is brought to: one price reads the same from either.
    QString fraction = match.captured(2);
    while (fraction.size() > 3 && fraction.endsWith(u'0')) {
        fraction.chop(1);
    }
    fraction = fraction.leftJustified(3, u'0');
    if (whole == 0 && fraction.count(u'0') == fraction.size()) {
        return std::nullopt;
    }
    return QString::number(whole) + u'.' + fraction;
}

std::optional<QuoteDetail> QuoteFromFields(QStringView value, QChar separator, int nameField,
                                           int priceField, int previousCloseField) {
    const auto price =
        PriceText(detail::Field(value, separator, priceField).value_or(QStringView()));
    if (!price) {
        return std::nullopt;
    }
    QuoteDetail quote;
    quote.price = *price;
    quote.previousClose =
        PriceText(detail::Field(value, separator, previousCloseField).value_or(QStringView()))
            .value_or(QString());
    quote.name = detail::Field(value, separator, nameField).value_or(QStringView()).toString();
    return quote;
}

QString QuoteTooltip(const QString &price, const QString &previousClose, const QDateTime &time) {
    QStringList parts;
    const auto now = PriceText(price);
    const auto before = PriceText(previousClose);
    if (now && before) {
        const double change = (now->toDouble() - before->toDouble()) / before->toDouble() * 100;
        QString percent = QString::number(change, 'f', 2);
        if (percent == u"-0.00") {
            percent = QStringLiteral("0.00");
        } else if (change > 0 && percent != u"0.00") {
            percent.prepend(u'+');
        }
        parts.append(QStringLiteral("涨跌幅 %1%").arg(percent));
    }
    if (time.isValid()) {
        parts.append(QStringLiteral("行情时间 ") +
                     time.toTimeZone(BeijingTime()).toString(QStringLiteral("HH:mm:ss")));
    }
    return parts.join(QStringLiteral("  "));
}

}  // namespace quotes
