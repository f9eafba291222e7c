#include "quotes/quote_protocol.h"

#include "quotes/market.h"
#include "quotes/trading_calendar.h"

#include <QRegularExpression>
#include <QStringDecoder>

namespace quotes {

namespace {

const QRegularExpression &MainValue() {
    static const QRegularExpression kValue(
        QStringLiteral(R"re(var\s+hq_str_([^\s="]+)\s*=\s*"([^"\r\n]*)")re"));
    return kValue;
}

QStringView Field(QStringView value, int index) {
    return detail::Field(value, u',', index).value_or(QStringView());
}

}  // namespace

QString QuoteEndpoint() {
    const QString configured = qEnvironmentVariable("STOCKCALC_QUOTE_URL");
    return configured.isEmpty() ? QStringLiteral("https://hq.sinajs.cn") : configured;
}

QList<QUrl> RequestUrls(const QuoteService &service, const QStringList &codes) {
    QByteArray base = service.endpoint.toUtf8();
    while (base.endsWith('/')) {
        base.chop(1);
    }
    const qsizetype step = std::max<qsizetype>(1, service.codesPerRequest);
    QList<QUrl> urls;
    for (qsizetype first = 0; first < codes.size(); first += step) {
        QByteArrayList list;
        for (const QString &code : codes.mid(first, step)) {
            list.append(QUrl::toPercentEncoding(market::Prefixed(code)));
        }
        urls.append(QUrl::fromEncoded(base + service.path + list.join(','), QUrl::StrictMode));
    }
    return urls;
}

QuoteService MainQuoteService(const QString &endpoint) {
    const auto parse = [](const QByteArray &reply) -> std::optional<QuoteDetails> {
        const std::optional<QString> text = DecodeQuoteReply(reply);
        if (!text || IsFailedMainReply(*text)) {
            return std::nullopt;
        }
        return ParseMainQuoteDetails(*text);
    };
    return {QuoteSource::Main, endpoint, "/list=", kQuoteReferer, kCodesPerRequest, parse};
}

std::optional<QString> DecodeQuoteReply(const QByteArray &bytes) {
    QStringDecoder decoder("GBK");
    if (!decoder.isValid()) {
        return std::nullopt;
    }
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        return std::nullopt;
    }
    return text;
}

std::optional<QuoteDetails> ParseMainQuoteDetails(const QString &text) {
    QuoteDetails details;
    bool any = false;
    for (auto it = MainValue().globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        any = true;
        const QStringView value = match.capturedView(2);
        if (value.isEmpty()) {
            details.insert(match.captured(1), {});
            continue;
        }
        std::optional<QuoteDetail> quote = QuoteFromFields(value, u',', 0, 3, 2);
        if (!quote) {
            continue;
        }
        const QDate date = QDate::fromString(
            detail::Field(value, u',', 30).value_or(QStringView()).toString(), Qt::ISODate);
        const QTime time = QTime::fromString(
            detail::Field(value, u',', 31).value_or(QStringView()).toString(), u"HH:mm:ss");
        if (date.isValid() && time.isValid()) {
            quote->time = QDateTime(date, time, BeijingTime());
        }
        // Shares and yuan.
        quote->volume = detail::WholeCount(Field(value, 8), 1);
        quote->amount = detail::Sum(Field(value, 9), 1);
        details.insert(match.captured(1), *quote);
    }
    if (!any) {
        return std::nullopt;
    }
    return details;
}

bool IsFailedMainReply(const QString &text) {
    for (auto it = MainValue().globalMatch(text); it.hasNext();) {
        const QStringView value = it.next().capturedView(2).trimmed();
        if (!value.isEmpty() && value != u"FAILED") {
            return false;
        }
    }
    return true;
}

}  // namespace quotes
