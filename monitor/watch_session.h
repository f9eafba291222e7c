#pragma once
// Monitoring while it runs: the watched rows, their subscription to the quote feed, the alarm
// test every 2 seconds and what an alarm sets off. The monitor window, its list and the
// overlay only show what the session holds and hear what changed.

#include "monitor/monitor_rows.h"
#include "quotes/quote_feed.h"
#include "quotes/reading_status.h"
#include "storage/watch_list_store.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>

namespace monitor {

class WatchSession final : public QObject {
    Q_OBJECT
public:
    // Where an alarm goes beyond the session's own signals: the desktop is told of a row
    // that starts to alarm (by a stable key, the code), and the event sound plays.
    struct Outlets {
        std::function<void(const QString &rowKey, const QString &summary)> notify;
        std::function<void()> sound;
    };

    // Without a feed nothing is read, and readings come only through apply().
    WatchSession(quotes::QuoteFeed *feed, Outlets outlets, QObject *parent = nullptr);
    ~WatchSession() override;
    WatchSession(const WatchSession &) = delete;
    WatchSession &operator=(const WatchSession &) = delete;

    // Ends monitoring that runs, then watches these entries from scratch: rows in their
    // order with the alarm on, the mark "0" and no price; their codes read at once; the
    // alarm test from the first reading's period on.
    void start(const QList<storage::WatchEntry> &entries);
    // Ends the subscription and the alarm test; the rows stay as they were last shown.
    void stop();
    // Flips the row's alarm switch; its mark and colour stay.
    void toggleAlarm(int row);

    bool active() const { return m_active; }
    bool alarmTestRunning() const { return m_alarmTest.isActive(); }
    const QList<MonitorRow> &rows() const { return m_rows; }
    const quotes::ReadingStatus &status() const { return m_status; }

    // One alarm test over the rows (the 2-second timer's work).
    void testAlarms();
    // Writes a reading's quotes into the rows by code, and says how it went. A reading that
    // asked none of the rows' codes (made for another consumer) is passed over.
    void apply(const quotes::FeedReading &reading);

signals:
    void started();
    void stopped();
    void rowsAboutToBeReplaced();
    void rowsReplaced();
    // Some row's price, mark or alarm switch changed.
    void rowsChanged();
    void statusChanged();
    // A reading that asked for the rows' codes has been written into them.
    void readingApplied(const quotes::FeedReading &reading);
    // A reading brought at least one price.
    void pricesArrived();
    // A row with its alarm on stands at an edge of its band: the monitor shows itself.
    void alarmRaised();

private:
    QDateTime now() const;

    QPointer<quotes::QuoteFeed> m_feed;
    Outlets m_outlets;
    QList<MonitorRow> m_rows;
    quotes::ReadingStatus m_status;
    QTimer m_firstReadingPeriod;  // the alarm test starts when it ends
    QTimer m_alarmTest;
    bool m_active = false;
};

}  // namespace monitor
