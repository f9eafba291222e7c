#pragma once
// The quote services as the client asks them, and the main service's protocol: requests
// `<endpoint>/list=<prefixed code>,<prefixed code>,...` and a GBK reply of
// `var hq_str_<prefixed code>="f0,f1,f2,f3,...";` lines with the name in field 0, the previous
// close in field 2, the price in field 3, the shares and yuan traded today in fields 8 and 9 and
// the date and time in fields 30 and 31.

#include "quotes/quote_detail.h"
#include "quotes/quote_source_policy.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

namespace quotes {

// The service's address unless STOCKCALC_QUOTE_URL names another (tests, mirrors).
QString QuoteEndpoint();

// The page the service asks to be named as the referrer; it refuses requests without one.
inline constexpr const char *kQuoteReferer = "https://finance.sina.com.cn";

// At most this many codes go into one request.
inline constexpr qsizetype kCodesPerRequest = 800;

// A quote service as the client uses it: a reading of many codes goes out as batches of at
// most `codesPerRequest` codes, one request `<endpoint><path><prefixed>,<prefixed>...` each,
// and each reply is parsed into quotes by prefixed code, or nothing when the reply counts as
// a failed reading of this service.
struct QuoteService {
    QuoteSource source = QuoteSource::Main;
    QString endpoint;    // scheme, host and port
    QByteArray path;     // "/list=", "/q="
    QByteArray referer;  // sent as the Referer header; none when empty
    qsizetype codesPerRequest = 1;
    std::optional<QuoteDetails> (*parse)(const QByteArray &reply) = nullptr;
};

// The addresses of a reading: one per `codesPerRequest` codes, each code prefixed by its
// market and percent-encoded as typed, in the order given.
QList<QUrl> RequestUrls(const QuoteService &service, const QStringList &codes);

// The main service at this endpoint.
QuoteService MainQuoteService(const QString &endpoint = QuoteEndpoint());

// The reply's text; nothing when the bytes are not valid GBK.
std::optional<QString> DecodeQuoteReply(const QByteArray &bytes);

// The main service's reply under the rules of QuoteDetails; an empty value (a code the
// service does not know) gives an empty price. Nothing when the reply holds no value at all.
std::optional<QuoteDetails> ParseMainQuoteDetails(const QString &text);

// Whether a main-service reply counts as a failed reading: it holds no `hq_str_` value, or
// every value is empty or "FAILED".
bool IsFailedMainReply(const QString &text);

}  // namespace quotes
