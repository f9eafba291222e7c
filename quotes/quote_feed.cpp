#include "quotes/quote_feed.h"

#include <QSet>

namespace quotes {

QuoteFeed::QuoteFeed(TradingCalendar calendar, int deadlineMs, QObject *parent, int periodMs)
    : QObject(parent),
      m_calendar(std::move(calendar)),
      m_client(deadlineMs, nullptr, [this] { return m_calendar.now(); }) {
    // Due after the reading's deadline, never before it.
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(periodMs);
    connect(&m_timer, &QTimer::timeout, this, &QuoteFeed::tick);
    connect(&m_client, &QuoteClient::finished, this, &QuoteFeed::received);
}

QStringList QuoteFeed::codes() const {
    QStringList all;
    QSet<QString> seen;
    for (const QObject *consumer : m_order) {
        for (const QString &code : m_consumers.value(consumer)) {
            if (!seen.contains(code)) {
                seen.insert(code);
                all.append(code);
            }
        }
    }
    return all;
}

void QuoteFeed::subscribe(const QObject *consumer, const QStringList &codes) {
    const QStringList before = m_consumers.value(consumer);
    if (codes.isEmpty()) {
        if (m_consumers.remove(consumer) > 0) {
            m_order.removeOne(consumer);
            disconnect(consumer, &QObject::destroyed, this, nullptr);
        }
    } else {
        if (!m_consumers.contains(consumer)) {
            m_order.append(consumer);
            // A consumer that goes away without a word ends its subscription.
            connect(consumer, &QObject::destroyed, this,
                    [this, consumer] { unsubscribe(consumer); });
        }
        m_consumers.insert(consumer, codes);
    }
    if (m_consumers.isEmpty()) {
        m_timer.stop();
        m_newCodes.clear();
        m_unionDue = false;
        return;
    }
    for (const QString &code : codes) {
        // The reading under way brings the codes it asked.
        if (!before.contains(code) && !m_newCodes.contains(code) &&
            !(m_client.pending() && m_asked.contains(code))) {
            m_newCodes.append(code);
        }
    }
    if (!m_timer.isActive()) {
        m_timer.start();
    }
    readNext();
}

void QuoteFeed::tick() {
    if (m_calendar.readingDue(m_lastUnionReading)) {
        m_unionDue = true;
        readNext();
    }
}

void QuoteFeed::readNext() {
    if (m_client.pending()) {
        return;  // the next one starts when this one ends
    }
    const QStringList all = codes();
    QStringList asked;
    if (m_unionDue) {
        asked = all;
    } else {
        for (const QString &code : std::as_const(m_newCodes)) {
            if (all.contains(code)) {
                asked.append(code);
            }
        }
    }
    if (asked.isEmpty()) {
        m_newCodes.clear();
        return;
    }
    const QDateTime now = m_calendar.now();
    if (m_client.read(asked)) {
        m_asked = asked;
        m_started = now;
        m_newCodes.clear();
        m_unionDue = false;
        if (asked.size() == all.size()) {
            m_lastUnionReading = now;  // every subscribed code
        }
    }
}

void QuoteFeed::received(const QuoteReading &reading) {
    FeedReading done;
    done.quotes = reading.quotes;
    m_state.source = reading.source;
    m_state.readingTime = m_started;
    m_state.error = reading.error;
    m_state.mainError = reading.mainError;
    m_state.closed = !m_calendar.isOpenAt(m_calendar.now());
    done.state = m_state;
    m_asked.clear();
    emit readingDone(done);
    // Codes subscribed, or a period come, while this reading was under way are read now, not
    // a period later.
    readNext();
}

}  // namespace quotes
