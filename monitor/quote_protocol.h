#pragma once
// The quote service's protocol: which market a code is asked under, the request addresses,
// and the reply, a GBK script of `var hq_str_<prefixed code>="f0,f1,f2,f3,...";` lines
// whose field 3 is the current price.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

namespace monitor {

// The service's address unless STOCKCALC_QUOTE_URL names another (tests, mirrors).
QString QuoteEndpoint();

// The page the service asks to be named as the referrer; it refuses requests without one.
inline constexpr const char *kQuoteReferer = "https://finance.sina.com.cn";

// At most this many codes go into one request.
inline constexpr qsizetype kCodesPerRequest = 800;

// "sz" for Shenzhen (0, 2, 3: main board, B shares, ChiNext), "bj" for Beijing (4, 8, 92),
// "sh" for everything else.
QString MarketPrefix(const QString &code);
QString PrefixedCode(const QString &code);

// <endpoint>/list=<prefixed>,<prefixed>,... with every code percent-encoded as typed, in the
// order given.
QUrl QuoteRequestUrl(const QString &endpoint, const QStringList &codes);
// One such address per kCodesPerRequest codes.
QList<QUrl> QuoteRequestUrls(const QString &endpoint, const QStringList &codes);

// The reply's text; empty when the bytes are not valid GBK.
std::optional<QString> DecodeQuoteReply(const QByteArray &bytes);

// Field 3 of each `hq_str_` value, by prefixed code; a value without a field 3 (the
// service's "" for a code it does not know) gives empty text. Empty when the text holds no
// such value at all: that is no quote reply.
std::optional<QHash<QString, QString>> ParseQuoteReply(const QString &text);

// A quote service as the client uses it: a reading of many codes goes out as batches of at
// most `codesPerRequest` codes, one request each, and each reply is parsed into price texts
// by prefixed code (nothing when the reply is no quote reply of this service).
struct QuoteService {
    QString endpoint;    // scheme, host and port
    QByteArray referer;  // sent as the Referer header; none when empty
    qsizetype codesPerRequest = 1;
    QUrl (*requestUrl)(const QString &endpoint, const QStringList &codes) = nullptr;
    std::optional<QHash<QString, QString>> (*parse)(const QByteArray &reply) = nullptr;
};

// The main service at the endpoint in force.
QuoteService MainQuoteService();

}  // namespace monitor
