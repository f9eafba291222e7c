#pragma once
// The program's one source of prices. Consumers (the watch session, the live holdings
// figures) subscribe the codes they show; the feed reads the union of all subscribed codes at
// most once per period, none while nothing is subscribed, and only while the exchanges trade
// (through each session, one after it ends). Codes a consumer newly subscribes are read at
// once on their own, whatever the trading hours. Every consumer hears of every reading and
// takes the quotes of its own codes from it, by code.

#include "quotes/quote_client.h"
#include "quotes/quote_reading.h"
#include "quotes/trading_calendar.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTimer>

namespace quotes {

class QuoteFeed final : public QObject {
    Q_OBJECT
public:
    // A reading is ended `deadlineMs` after it started, before the next one is due
    // `periodMs` after it.
    explicit QuoteFeed(TradingCalendar calendar = TradingCalendar::Shipped(),
                       int deadlineMs = kReplyDeadlineMs, QObject *parent = nullptr,
                       int periodMs = kReadingPeriodMs);

    // Replaces the codes this consumer is subscribed to; an empty list ends its subscription.
    // The codes it did not have before are read at once (or as soon as the reading under way
    // ends, unless that one asks them), whatever the trading hours.
    void subscribe(const QObject *consumer, const QStringList &codes);
    void unsubscribe(const QObject *consumer) { subscribe(consumer, {}); }

    // The union of all subscribed codes, in the order they were first subscribed.
    QStringList codes() const;
    const FeedState &state() const { return m_state; }
    // The time by the feed's clock, the one its calendar and its choice of service go by.
    QDateTime now() const { return m_calendar.now(); }

signals:
    void readingDone(const quotes::FeedReading &reading);

private:
    void tick();
    void readNext();
    void received(const QuoteReading &reading);

    TradingCalendar m_calendar;
    QuoteClient m_client;
    QTimer m_timer;
    QHash<const QObject *, QStringList> m_consumers;
    QList<const QObject *> m_order;  // consumers in the order they subscribed
    QStringList m_asked;             // the codes of the reading under way
    QStringList m_newCodes;          // newly subscribed codes waiting to be read on their own
    QDateTime m_started;             // when the reading under way started
    QDateTime m_lastUnionReading;    // when the last reading of every subscribed code started
    bool m_unionDue = false;         // a period has come while a reading was under way
    FeedState m_state;
};

}  // namespace quotes
