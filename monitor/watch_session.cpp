#include "monitor/watch_session.h"

#include "monitor/alarm_notifier.h"

namespace monitor {

WatchSession::WatchSession(quotes::QuoteFeed *feed, Outlets outlets, QObject *parent)
    : QObject(parent), m_feed(feed), m_outlets(std::move(outlets)) {
    // The alarm test begins once the first reading has had its period to fill the prices.
    m_firstReadingPeriod.setSingleShot(true);
    m_firstReadingPeriod.setInterval(quotes::kReadingPeriodMs);
    connect(&m_firstReadingPeriod, &QTimer::timeout, &m_alarmTest, qOverload<>(&QTimer::start));
    m_alarmTest.setInterval(kAlarmTestPeriodMs);
    connect(&m_alarmTest, &QTimer::timeout, this, &WatchSession::testAlarms);
    if (m_feed) {
        connect(m_feed, &quotes::QuoteFeed::readingDone, this, &WatchSession::apply);
    }
}

WatchSession::~WatchSession() {
    if (m_feed) {
        m_feed->unsubscribe(this);
    }
}

QDateTime WatchSession::now() const {
    return m_feed ? m_feed->now() : quotes::RealTime();
}

void WatchSession::start(const QList<storage::WatchEntry> &entries) {
    stop();
    emit rowsAboutToBeReplaced();
    m_rows.clear();
    for (const storage::WatchEntry &entry : entries) {
        MonitorRow row;
        row.code = entry.code;
        row.name = entry.name;
        row.upper = entry.upper.text;
        row.lower = entry.lower.text;
        m_rows.append(row);
    }
    m_status = {};
    emit rowsReplaced();
    emit statusChanged();
    m_active = true;
    emit started();
    m_firstReadingPeriod.start();
    if (m_feed) {
        QStringList codes;
        for (const MonitorRow &row : std::as_const(m_rows)) {
            codes.append(row.code);
        }
        m_feed->subscribe(this, codes);
    }
}

void WatchSession::stop() {
    if (!m_active) {
        return;
    }
    m_active = false;
    m_firstReadingPeriod.stop();
    m_alarmTest.stop();
    if (m_feed) {
        m_feed->unsubscribe(this);
    }
    emit stopped();
}

void WatchSession::toggleAlarm(int row) {
    if (row < 0 || row >= m_rows.size()) {
        return;
    }
    m_rows[row].alarmOn = !m_rows[row].alarmOn;
    emit rowsChanged();
}

void WatchSession::testAlarms() {
    const AlarmTestResult result = TestAlarms(m_rows);
    bool changed = false;
    for (qsizetype row = 0; row < m_rows.size(); ++row) {
        m_rows[row].alarming = result.alarming[row];
        if (result.marks[row] != m_rows[row].mark) {
            m_rows[row].mark = result.marks[row];
            changed = true;
        }
    }
    if (changed) {
        emit rowsChanged();
    }
    for (const qsizetype started : result.started) {
        if (m_outlets.notify) {
            m_outlets.notify(m_rows[started].code, AlarmSummary(m_rows[started]));
        }
    }
    if (result.alarm) {
        emit alarmRaised();
        if (m_outlets.sound) {
            m_outlets.sound();
        }
    }
}

void WatchSession::apply(const quotes::FeedReading &reading) {
    if (!m_active) {
        return;  // a reading that ends after monitoring stopped
    }
    const bool asked = std::any_of(m_rows.cbegin(), m_rows.cend(),
                                   [&](const MonitorRow &row) { return reading.asked(row.code); });
    if (!asked && !m_rows.isEmpty()) {
        return;
    }
    const qsizetype kept = ApplyPrices(m_rows, reading);
    const bool anyPrice = std::any_of(m_rows.cbegin(), m_rows.cend(),
                                      [](const MonitorRow &row) { return !row.price.isEmpty(); });
    // Market times are Beijing time, whatever the desktop's zone.
    const QTime at = now().toTimeZone(quotes::BeijingTime()).time();
    m_status = quotes::DescribeReading(reading.state, kept, m_rows.size(), at, anyPrice);
    emit readingApplied(reading);
    emit rowsChanged();
    emit statusChanged();
    if (kept < m_rows.size()) {
        emit pricesArrived();
    }
}

}  // namespace monitor
