#pragma once
// What a status line says about a reading: the service in use, what failed, how many codes
// got no price, and whether the exchanges are closed. The monitor and the live holdings
// figures say it in the same words.

#include "quotes/quote_reading.h"

#include <QString>
#include <QTime>

namespace quotes {

struct ReadingStatus {
    QString text;
    bool problem = false;  // shown in red
    QString details;       // the full account, for the status line's tooltip
};

// The status line after a reading at `at` (Beijing time): the service in use, its error, how
// many of `total` rows got no price (FeedReading::unpriced), and "休市" first while the
// exchanges were closed.
// `anyPrice`: some row has a price by now; without one no row shows an old price either.
ReadingStatus DescribeReading(const FeedState &reading, qsizetype kept, qsizetype total,
                              const QTime &at, bool anyPrice);

}  // namespace quotes
