#pragma once
// The second quote service, asked when the main one fails: requests
// `<endpoint>/q=<prefixed code>,<prefixed code>,...`, and a GBK reply of one
// `v_<prefixed code>="f0~f1~f2~...";` line per code, with the name in field 1, the price in
// field 3, the previous close in field 4, the lots of 100 shares traded today in field 6, the
// time (yyyyMMddhhmmss) in field 30, "price/lots/yuan" in field 35 and the amount traded today in
// units of 10,000 yuan in field 37. A code it
// does not know comes back as `v_pv_none_match="1";`, which does not say which code it was.

#include "quotes/quote_protocol.h"

#include <QString>

#include <optional>

namespace quotes {

// The service's address unless STOCKCALC_QUOTE_FALLBACK_URL names another (tests, mirrors).
QString FallbackQuoteEndpoint();

// The service answers at most this many codes per request.
inline constexpr qsizetype kFallbackCodesPerRequest = 60;

// The second service at this endpoint.
QuoteService FallbackQuoteService(const QString &endpoint = FallbackQuoteEndpoint());

// The decoded reply, by prefixed code, under the rules of QuoteDetails. A code the service
// does not know is simply absent. Nothing when the reply holds no `v_` line at all.
std::optional<QuoteDetails> ParseFallbackReply(const QString &text);

}  // namespace quotes
