#include "monitor/tencent_protocol.h"

#include "monitor/market.h"
#include "monitor/trading_calendar.h"

#include <QRegularExpression>

namespace monitor {

QString FallbackQuoteEndpoint() {
    const QString configured = qEnvironmentVariable("STOCKCALC_QUOTE_FALLBACK_URL");
    return configured.isEmpty() ? QStringLiteral("https://qt.gtimg.cn") : configured;
}

QList<QUrl> FallbackRequestUrls(const QString &endpoint, const QStringList &codes) {
    QList<QUrl> urls;
    QByteArray base = endpoint.toUtf8();
    while (base.endsWith('/')) {
        base.chop(1);
    }
    for (qsizetype first = 0; first < codes.size(); first += kFallbackCodesPerRequest) {
        QByteArrayList list;
        for (const QString &code : codes.mid(first, kFallbackCodesPerRequest)) {
            list.append(QUrl::toPercentEncoding(market::Prefixed(code)));
        }
        urls.append(QUrl::fromEncoded(base + "/q=" + list.join(','), QUrl::StrictMode));
    }
    return urls;
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
        const auto price = PriceText(detail::Field(value, u'~', 3).value_or(QStringView()));
        if (match.capturedView(1) == u"pv_none_match" || !price) {
            continue;
        }
        QuoteDetail quote;
        quote.price = *price;
        quote.previousClose =
            PriceText(detail::Field(value, u'~', 4).value_or(QStringView())).value_or(QString());
        const QString stamp = detail::Field(value, u'~', 30).value_or(QStringView()).toString();
        const QDate date = QDate::fromString(stamp.left(8), QStringLiteral("yyyyMMdd"));
        const QTime time = QTime::fromString(stamp.mid(8), QStringLiteral("HHmmss"));
        if (stamp.size() == 14 && date.isValid() && time.isValid()) {
            quote.time = QDateTime(date, time, BeijingTime());
        }
        details.insert(match.captured(1), quote);
    }
    if (!any) {
        return std::nullopt;
    }
    return details;
}

}  // namespace monitor
