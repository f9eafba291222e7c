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
    connect(&m_timer, &QTimer::timeout, this, &QuoteFeed::readIfDue);
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

void QuoteFeed::Subscribe(const QObject *consumer, const QStringList &codes) {
    const QStringList before = this->codes();
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
                    [this, consumer] { Unsubscribe(consumer); });
        }
        m_consumers.insert(consumer, codes);
    }
    const QStringList after = this->codes();
    if (after.isEmpty()) {
        m_timer.stop();
        return;
    }
    const QSet<QString> known(before.cbegin(), before.cend());
    for (const QString &code : after) {
        if (!known.contains(code)) {
            m_newCodes = true;
        }
    }
    if (!m_timer.isActive()) {
        m_timer.start();
    }
    if (m_newCodes && !m_client.pending()) {
        read();
    }
}

void QuoteFeed::readIfDue() {
    if (m_newCodes || m_calendar.readingDue(m_lastReading)) {
        read();
    }
}

void QuoteFeed::read() {
    const QStringList asked = codes();
    if (asked.isEmpty()) {
        return;
    }
    const QDateTime now = m_calendar.now();
    if (m_client.Read(asked)) {
        m_asked = asked;
        m_lastReading = now;
        m_newCodes = false;
    }
}

void QuoteFeed::received(const QuoteReading &reading) {
    FeedReading done;
    for (qsizetype i = 0; i < m_asked.size() && i < reading.quotes.size(); ++i) {
        done.quotes.insert(m_asked[i], reading.quotes[i]);
    }
    m_state.source = reading.source;
    m_state.readingTime = m_lastReading;
    m_state.error = reading.error;
    m_state.mainError = reading.mainError;
    m_state.closed = !m_calendar.isOpenAt(m_calendar.now());
    done.state = m_state;
    emit readingDone(done);
    // Codes subscribed while this reading was under way are read now, not a period later.
    if (m_newCodes && !codes().isEmpty()) {
        read();
    }
}

}  // namespace quotes
