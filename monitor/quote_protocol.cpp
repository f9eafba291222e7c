#include "monitor/quote_protocol.h"

#include <QRegularExpression>
#include <QStringDecoder>

namespace monitor {

QString QuoteEndpoint() {
    const QString configured = qEnvironmentVariable("STOCKCALC_QUOTE_URL");
    return configured.isEmpty() ? QStringLiteral("https://hq.sinajs.cn") : configured;
}

QString MarketPrefix(const QString &code) {
    if (code.startsWith(u'0') || code.startsWith(u'2') || code.startsWith(u'3')) {
        return QStringLiteral("sz");
    }
    if (code.startsWith(u'4') || code.startsWith(u'8') || code.startsWith(u"92")) {
        return QStringLiteral("bj");
    }
    return QStringLiteral("sh");
}

QString PrefixedCode(const QString &code) {
    return MarketPrefix(code) + code;
}

QUrl QuoteRequestUrl(const QString &endpoint, const QStringList &codes) {
    QByteArray base = endpoint.toUtf8();
    while (base.endsWith('/')) {
        base.chop(1);
    }
    QByteArray list;
    for (const QString &code : codes) {
        if (!list.isEmpty()) {
            list += ',';
        }
        list += QUrl::toPercentEncoding(PrefixedCode(code));
    }
    return QUrl::fromEncoded(base + "/list=" + list, QUrl::StrictMode);
}

QList<QUrl> QuoteRequestUrls(const QString &endpoint, const QStringList &codes) {
    QList<QUrl> urls;
    for (qsizetype first = 0; first < codes.size(); first += kCodesPerRequest) {
        urls.append(QuoteRequestUrl(endpoint, codes.mid(first, kCodesPerRequest)));
    }
    return urls;
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

std::optional<QHash<QString, QString>> ParseQuoteReply(const QString &text) {
    static const QRegularExpression kValue(
        QStringLiteral(R"(var\s+hq_str_([^\s=]+)\s*=\s*"([^"\r\n]*)\")"));
    QHash<QString, QString> prices;
    bool any = false;
    for (auto it = kValue.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        any = true;
        const QStringView value = match.capturedView(2);
        QString price;
        qsizetype start = 0;
        for (int field = 0; field < 3 && start >= 0; ++field) {
            start = value.indexOf(u',', start);
            if (start >= 0) {
                ++start;
            }
        }
        if (start >= 0) {
            const qsizetype end = value.indexOf(u',', start);
            price = value.mid(start, end < 0 ? -1 : end - start).toString();
        }
        prices.insert(match.captured(1), price);
    }
    if (!any) {
        return std::nullopt;
    }
    return prices;
}

QuoteService MainQuoteService() {
    QuoteService service;
    service.endpoint = QuoteEndpoint();
    service.referer = kQuoteReferer;
    service.codesPerRequest = kCodesPerRequest;
    service.requestUrl = QuoteRequestUrl;
    service.parse = [](const QByteArray &reply) {
        const std::optional<QString> text = DecodeQuoteReply(reply);
        return text ? ParseQuoteReply(*text) : std::nullopt;
    };
    return service;
}

}  // namespace monitor
