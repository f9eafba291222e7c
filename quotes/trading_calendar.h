#pragma once
// When the exchanges trade, in Beijing time whatever the desktop's time zone: 9:15 to 11:30
// and 13:00 to 15:00 on trading days. Saturdays, Sundays and the listed closure days are not
// trading days; a year without a single listed closure day counts every weekday as one.

#include "quotes/clock.h"

#include <QDate>
#include <QDateTime>
#include <QSet>
#include <QString>
#include <QTimeZone>

namespace quotes {

// Asia/Shanghai from the system's zone data, or a fixed UTC+8 where that data is missing
// (China has kept UTC+8 without summer time since 1991).
QTimeZone BeijingTime();

class TradingCalendar final {
public:
    using Clock = quotes::Clock;

    // Closure days: one ISO date (2026-01-01) per line; blank lines and text after "#" are
    // ignored, and so is a line that is not a date.
    explicit TradingCalendar(const QString &closureDays = {}, Clock clock = {});

    // The list compiled into the program, joined by the list of every
    // stockcalc/closure_days.txt in the system's and the user's data folders (the installed
    // copy under share/stockcalc, ~/.local/share/stockcalc), so a year can be added or
    // corrected without a new program. Each file is read whole up to 1 MB; one cut there, or
    // with lines that are not dates, is named in the log.
    static TradingCalendar Shipped(Clock clock = {});

    bool isTradingDay(QDate beijingDate) const;
    // Within a session: from its start up to, not including, its end.
    bool isOpenAt(const QDateTime &instant) const;
    // The start of the first session after the instant (or at it).
    QDateTime nextOpening(const QDateTime &instant) const;
    // The end of the latest session that ended at or before the instant; invalid when none
    // ended within the last few weeks.
    QDateTime lastSessionEnd(const QDateTime &instant) const;

    // Whether a reading is due now, given when the last one was taken (invalid: none yet).
    // The first reading is always due; then readings are due while a session is open, and
    // once more after each session's end, then none until the next session opens.
    bool readingDue(const QDateTime &lastReading) const;
    QDateTime now() const { return m_clock(); }

private:
    QSet<QDate> m_closed;
    Clock m_clock;
};

}  // namespace quotes
