#pragma once
// What one reading of the quote services brought, keyed by code from the client to the views,
// and how often readings are made.

#include "quotes/quote_detail.h"
#include "quotes/quote_source_policy.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <optional>

namespace quotes {

// Prices are read every 5 seconds.
inline constexpr int kReadingPeriodMs = 5000;

// For every code a reading asked, by code as asked ("600000"): its quote (an empty price for a
// code the service does not know), or nothing when the reading brought no price for it.
using CodeQuotes = QHash<QString, std::optional<QuoteDetail>>;

// Whether this quote is a price: something was brought, and the service knew the code.
inline bool IsPriced(const std::optional<QuoteDetail> &quote) {
    return quote && !quote->price.isEmpty();
}

// What the client's reading brought.
struct QuoteReading {
    CodeQuotes quotes;
    // Why the reading, or a batch of it, failed at the service asked last, in the user's
    // words; empty on success.
    QString error;
    // Why the main service failed when the reading went on to the second one, or, while
    // readings go to the second service alone, why it failed when last asked; else empty.
    QString mainError;
    QuoteSource source = QuoteSource::Main;  // the service asked last
};

// How the last reading went, for the views' status lines.
struct FeedState {
    QuoteSource source = QuoteSource::Main;  // the service asked last
    QDateTime readingTime;                   // when the last reading started; invalid: none yet
    QString error;                           // the last service's error; empty on success
    QString mainError;    // the main service's error when the reading went on to the second one
    bool closed = false;  // the exchanges were closed when the reading ended
};

// One reading as the feed hands it on: the quotes of the codes it asked, and the feed's state.
struct FeedReading {
    CodeQuotes quotes;
    FeedState state;

    // Whether this reading asked for `code`.
    bool asked(const QString &code) const { return quotes.contains(code); }
    // The quote for `code` in this reading; nothing when it was not asked or brought nothing.
    std::optional<QuoteDetail> quote(const QString &code) const { return quotes.value(code); }
    // How many of these codes this reading asked and gave no price: those it brought nothing
    // for (no trade, suspended, not answered) and those the services do not know.
    qsizetype unpriced(const QStringList &codes) const {
        return std::count_if(codes.cbegin(), codes.cend(), [this](const QString &code) {
            return asked(code) && !IsPriced(quote(code));
        });
    }
};

}  // namespace quotes
