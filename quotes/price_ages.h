#pragma once
// Which codes show a price older than the latest reading that asked for them: that reading
// brought nothing for the code (no answer, a failed service, a code left out), so the last
// price stays on the screen, and the views mark it.

#include "quotes/quote_feed.h"

#include <QHash>
#include <QString>
#include <QTime>

#include <optional>

namespace quotes {

class PriceAges {
public:
    // Takes a reading in: each code it asked for is fresh when it brought a price, stale when
    // it brought nothing after an earlier reading had brought one, and without a price when
    // it brought an empty one (a code the service does not know).
    void note(const FeedReading &reading);
    // When the price `code` still shows was current, in Beijing time: the quote's own time,
    // else the time of the reading that brought it. Nothing while its price is fresh or it
    // has none.
    std::optional<QTime> staleSince(const QString &code) const;
    void clear() { m_ages.clear(); }

private:
    struct Age {
        QTime at;
        bool stale = false;
    };
    QHash<QString, Age> m_ages;  // codes with a price
};

// The tooltip of a price that stays: "价格停留在 10:41:05".
QString StalePriceTip(const QTime &since);

}  // namespace quotes
