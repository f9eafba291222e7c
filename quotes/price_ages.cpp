#include "quotes/price_ages.h"

#include "quotes/trading_calendar.h"

namespace quotes {

void PriceAges::note(const FeedReading &reading) {
    for (auto it = reading.quotes.cbegin(); it != reading.quotes.cend(); ++it) {
        const std::optional<QuoteDetail> &quote = it.value();
        if (!quote) {
            if (const auto age = m_ages.find(it.key()); age != m_ages.end()) {
                age->stale = true;
            }
        } else if (quote->price.isEmpty()) {
            m_ages.remove(it.key());
        } else {
            const QDateTime at = quote->time.isValid() ? quote->time : reading.state.readingTime;
            m_ages.insert(it.key(), {at.toTimeZone(BeijingTime()).time(), false});
        }
    }
}

std::optional<QTime> PriceAges::staleSince(const QString &code) const {
    const auto age = m_ages.constFind(code);
    if (age == m_ages.cend() || !age->stale) {
        return std::nullopt;
    }
    return age->at;
}

QString StalePriceTip(const QTime &since) {
    return QStringLiteral("价格停留在 ") +
           (since.isValid() ? since.toString(QStringLiteral("HH:mm:ss")) : QStringLiteral("—"));
}

}  // namespace quotes
