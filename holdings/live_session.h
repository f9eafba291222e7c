#pragma once
// The live figures of the holdings while someone looks at them: the positions worked out from
// the book, the codes held subscribed to the quote feed, the latest quote of each, the fees
// in force, and the status of the last reading. The live window only shows what the session
// holds and hears what changed.

#include "holdings/book.h"
#include "holdings/live_figures.h"
#include "quotes/quote_feed.h"
#include "quotes/reading_status.h"
#include "settings/settings_in_force.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QTime>

#include <optional>

namespace holdings {

class LiveSession final : public QObject {
    Q_OBJECT
public:
    // Without a feed nothing is read, and readings come only through apply().
    LiveSession(quotes::QuoteFeed *feed, Book *book, const settings::FeeSettings &fees,
                QObject *parent = nullptr);
    ~LiveSession() override;
    LiveSession(const LiveSession &) = delete;
    LiveSession &operator=(const LiveSession &) = delete;

    // Someone looks: the codes held are subscribed (a book never read is read first).
    void start();
    // No one looks any more: the subscription ends; the figures stay as they were.
    void stop();
    bool active() const { return m_active; }

    // One row per code held, in code order, and the line under them.
    const QList<LiveRow> &rows() const { return m_rows; }
    const LiveTotals &totals() const { return m_totals; }
    const quotes::ReadingStatus &status() const { return m_status; }
    QStringList codes() const;

    // Works the figures out again under the fees in force now.
    void feesChanged();
    // Takes the quotes a reading brought for the codes held; a code it brought nothing for
    // keeps its last quote. Readings that end while no one looks are passed over.
    void apply(const quotes::FeedReading &reading);

signals:
    void rowsChanged();
    void statusChanged();

private:
    void lotsChanged();
    void subscribe();
    void refigure();

    QPointer<quotes::QuoteFeed> m_feed;
    QPointer<Book> m_book;
    const settings::FeeSettings &m_fees;
    QList<Position> m_positions;
    qsizetype m_unreadable = 0;
    QHash<QString, quotes::QuoteDetail> m_quotes;
    std::optional<quotes::FeedState> m_reading;  // the last reading; none before the first
    qsizetype m_kept = 0;
    QTime m_readingAt;
    QList<LiveRow> m_rows;
    LiveTotals m_totals;
    quotes::ReadingStatus m_status;
    bool m_active = false;
};

}  // namespace holdings
