#pragma once
// What one reading of the quote services brought, and how often readings are made.

#include "quotes/quote_detail.h"
#include "quotes/quote_source_policy.h"

#include <QList>
#include <QString>

#include <optional>

namespace quotes {

// Prices are read every 5 seconds.
inline constexpr int kReadingPeriodMs = 5000;

// What a reading brought: for each code, in the order asked, its quote (an empty price for a
// code the service does not know), or nothing when this reading brought no price for it.
struct QuoteReading {
    QList<std::optional<QuoteDetail>> quotes;
    // Why the reading, or a batch of it, failed at the service asked last, in the user's
    // words; empty on success.
    QString error;
    // Why the main service failed when the reading went on to the second one, or, while
    // readings go to the second service alone, why it failed when last asked; else empty.
    QString mainError;
    QuoteSource source = QuoteSource::Main;  // the service asked last
};

}  // namespace quotes
