#include "holdings/live_session.h"

#include "numbers/fee_schedule.h"
#include "storage/watch_list_store.h"

#include <algorithm>

namespace holdings {

LiveSession::LiveSession(quotes::QuoteFeed *feed, Book *book, const settings::InForce &inForce,
                         QObject *parent)
    : QObject(parent), m_feed(feed), m_book(book), m_inForce(inForce) {
    connect(&m_inForce, &settings::InForce::changed, this, &LiveSession::feesChanged);
    if (m_feed) {
        connect(m_feed, &quotes::QuoteFeed::readingDone, this, &LiveSession::apply);
    }
    if (m_book) {
        connect(m_book, &Book::changed, this, &LiveSession::lotsChanged);
    }
    lotsChanged();
}

LiveSession::~LiveSession() {
    stop();
}

void LiveSession::start() {
    if (m_book && !m_book->isLoaded()) {
        m_book->load();  // says lotsChanged
    }
    m_active = true;
    subscribe();
}

void LiveSession::stop() {
    if (!m_active) {
        return;
    }
    m_active = false;
    if (m_feed) {
        m_feed->unsubscribe(this);
    }
}

QStringList LiveSession::codes() const {
    QStringList codes;
    for (const Position &position : m_positions) {
        codes.append(position.code);
    }
    return codes;
}

void LiveSession::lotsChanged() {
    const PositionList list = PositionsOf(m_book ? m_book->lots() : QList<Lot>());
    m_positions = list.positions;
    m_unreadable = list.unreadable + (m_book ? m_book->unreadable() : 0);
    const QStringList held = codes();
    for (auto it = m_quotes.begin(); it != m_quotes.end();) {
        it = held.contains(it.key()) ? std::next(it) : m_quotes.erase(it);
    }
    refigure();
    subscribe();
}

void LiveSession::subscribe() {
    if (m_feed && m_active) {
        m_feed->subscribe(this, codes());
    }
}

void LiveSession::feesChanged() {
    refigure();
}

void LiveSession::apply(const quotes::FeedReading &reading) {
    const QStringList held = codes();
    const auto asked = [&reading](const QString &code) { return reading.asked(code); };
    if (!m_active || (!held.isEmpty() && std::none_of(held.cbegin(), held.cend(), asked))) {
        return;  // no one looks, or a reading made for another consumer's codes
    }
    for (const Position &position : std::as_const(m_positions)) {
        if (const std::optional<quotes::QuoteDetail> quote = reading.quote(position.code)) {
            m_quotes.insert(position.code, *quote);
        }
    }
    m_kept = reading.unpriced(held);
    m_reading = reading.state;
    // Market times are Beijing time, whatever the desktop's zone.
    const QDateTime now = m_feed ? m_feed->now() : quotes::RealTime();
    m_readingAt = now.toTimeZone(quotes::BeijingTime()).time();
    emit readingApplied(reading);
    refigure();
}

void LiveSession::refigure() {
    const numbers::FeeScheduleReading fees = m_inForce.fees();
    m_rows.clear();
    m_rows.reserve(m_positions.size());
    for (const Position &position : std::as_const(m_positions)) {
        const quotes::QuoteDetail quote = m_quotes.value(position.code);
        m_rows.append(LiveRowOf(position, quote.price, storage::CleanName(quote.name).trimmed(),
                                fees.schedule));
    }
    m_totals = TotalsOf(m_rows);
    m_status = LiveStatus(m_reading, m_kept, m_rows, m_readingAt, m_unreadable,
                          fees.schedule ? QString() : fees.error);
    emit rowsChanged();
    emit statusChanged();
}

}  // namespace holdings
