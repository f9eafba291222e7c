#include "quotes/tencent_protocol.h"

#include "quotes/trading_calendar.h"

#include <QRegularExpression>

namespace quotes {

QString FallbackQuoteEndpoint() {
    const QString configured = qEnvironmentVariable("STOCKCALC_QUOTE_FALLBACK_URL");
    return configured.isEmpty() ? QStringLiteral("https://qt.gtimg.cn") : configured;
}

QuoteService FallbackQuoteService(const QString &endpoint) {
    const auto parse = [](const QByteArray &reply) -> std::optional<QuoteDetails> {
        const std::optional<QString> text = DecodeQuoteReply(reply);
        return text ? ParseFallbackReply(*text) : std::nullopt;
    };
    // It asks for no referrer.
    return {QuoteSource::Fallback, endpoint, "/q=", {}, kFallbackCodesPerRequest, parse};
}

std::optional<QuoteDetails> ParseFallbackReply(const QString &text) {
    static const QRegularExpression kValue(
        QStringLiteral(R"re(v_([^\s="]+)\s*=\s*"([^"\r\n]*)")re"));
    QuoteDetails details;
    bool any = false;
    for (auto it = kValue.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        any = true;
        const QStringView value = match.capturedView(2);
        std::optional<QuoteDetail> quote = QuoteFromFields(value, u'~', 1, 3, 4);
        if (match.capturedView(1) == u"pv_none_match" || !quote) {
            continue;
        }
        const QString stamp = detail::Field(value, u'~', 30).value_or(QStringView()).toString();
        const QDate date = QDate::fromString(stamp.left(8), QStringLiteral("yyyyMMdd"));
        const QTime time = QTime::fromString(stamp.mid(8), QStringLiteral("HHmmss"));
        if (stamp.size() == 14 && date.isValid() && time.isValid()) {
            quote->time = QDateTime(date, time, BeijingTime());
        }
        // The volume in lots of 100 shares; the amount in yuan from the "price/volume/amount"
        // field, else in units of 10,000 yuan from its own field.
        const auto field = [value](int index) {
            return detail::Field(value, u'~', index).value_or(QStringView());
        };
        quote->volume = detail::WholeCount(field(6), 100);
        quote->amount = detail::Sum(detail::Field(field(35), u'/', 2).value_or(QStringView()), 1);
        if (!quote->amount) {
            quote->amount = detail::Sum(field(37), 10000);
        }
        details.insert(match.captured(1), *quote);
    }
    if (!any) {
        return std::nullopt;
    }
    return details;
}

}  // namespace quotes
