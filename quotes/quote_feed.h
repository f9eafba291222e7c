#pragma once
// The program's one source of prices. Consumers (the watch session, the live holdings
// figures) subscribe the codes they show; the feed reads the union of all subscribed codes in
// one reading per period, none while nothing is subscribed, and only while the exchanges
// trade (one reading when codes are first subscribed, through each session, one after it
// ends). Every consumer hears of every reading and picks its own codes out of it.

#include "quotes/quote_client.h"
#include "quotes/quote_reading.h"
#include "quotes/trading_calendar.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <optional>

namespace quotes {

// How the last reading went, for the views' status lines.
struct FeedState {
    QuoteSource source = QuoteSource::Main;  // the service asked last
    QDateTime readingTime;                   // when the last reading started; invalid: none yet
    QString error;                           // the last service's error; empty on success
    QString mainError;    // the main service's error when the reading went on to the second one
    bool closed = false;  // the exchanges were closed when the reading ended
};

// One reading: for every code it asked, the quote it brought (an empty price for a code the
// service does not know), or nothing when it brought no price for that code.
struct FeedReading {
    QHash<QString, std::optional<QuoteDetail>> quotes;
    FeedState state;

    // The quote for `code` in this reading; nothing when it was not asked or brought nothing.
    std::optional<QuoteDetail> quote(const QString &code) const { return quotes.value(code); }
};

class QuoteFeed final : public QObject {
    Q_OBJECT
public:
    // A reading is ended `deadlineMs` after it started, before the next one is due
    // `periodMs` after it.
    explicit QuoteFeed(TradingCalendar calendar = TradingCalendar::Shipped(),
                       int deadlineMs = kReplyDeadlineMs, QObject *parent = nullptr,
                       int periodMs = kReadingPeriodMs);

    // Replaces the codes this consumer is subscribed to; an empty list ends its subscription.
    // A code no consumer had before is read at once (or as soon as the reading under way
    // ends), whatever the trading hours.
    void Subscribe(const QObject *consumer, const QStringList &codes);
    void Unsubscribe(const QObject *consumer) { Subscribe(consumer, {}); }

    // The union of all subscribed codes, in the order they were first subscribed.
    QStringList codes() const;
    const FeedState &state() const { return m_state; }
    // The time by the feed's clock, the one its calendar and its choice of service go by.
    QDateTime now() const { return m_calendar.now(); }

signals:
    void readingDone(const quotes::FeedReading &reading);

private:
    void readIfDue();
    void read();
    void received(const QuoteReading &reading);

    TradingCalendar m_calendar;
    QuoteClient m_client;
    QTimer m_timer;
    QHash<const QObject *, QStringList> m_consumers;
    QList<const QObject *> m_order;  // consumers in the order they subscribed
    QStringList m_asked;             // the codes of the reading under way
    QDateTime m_lastReading;
    bool m_newCodes = false;  // codes subscribed since the last reading started
    FeedState m_state;
};

}  // namespace quotes
