#include "quotes/trading_calendar.h"

#include <QFile>
#include <QStandardPaths>

#include <array>

namespace quotes {

namespace {

struct Session {
    QTime start;
    QTime end;
};

const std::array<Session, 2> &Sessions() {
    static const std::array<Session, 2> kSessions{Session{QTime(9, 15), QTime(11, 30)},
                                                  Session{QTime(13, 0), QTime(15, 0)}};
    return kSessions;
}

// Enough to cross the longest closure (the spring festival with its weekends) many times.
constexpr int kSearchDays = 60;
// A closure-day list is a few hundred bytes; anything far larger is not one.
constexpr qint64 kMaxListBytes = 64 * 1024;

QString ReadList(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.read(kMaxListBytes));
}

}  // namespace

QTimeZone BeijingTime() {
    static const QTimeZone zone = [] {
        QTimeZone shanghai("Asia/Shanghai");
        return shanghai.isValid() ? shanghai : QTimeZone(8 * 3600);
    }();
    return zone;
}

TradingCalendar::TradingCalendar(const QString &closureDays, Clock clock)
    : m_clock(OrRealTime(std::move(clock))) {
    for (QStringView line : QStringView(closureDays).split(u'\n')) {
        const qsizetype hash = line.indexOf(u'#');
        const QDate date = QDate::fromString(line.left(hash).trimmed().toString(), Qt::ISODate);
        if (date.isValid()) {
            m_closed.insert(date);
        }
    }
}

TradingCalendar TradingCalendar::Shipped(Clock clock) {
    QString lists = ReadList(QStringLiteral(":/resources/closure_days.txt"));
    for (const QString &path : QStandardPaths::locateAll(
             QStandardPaths::GenericDataLocation, QStringLiteral("stockcalc/closure_days.txt"))) {
        lists += u'\n' + ReadList(path);
    }
    return TradingCalendar(lists, std::move(clock));
}

bool TradingCalendar::isTradingDay(QDate beijingDate) const {
    return beijingDate.dayOfWeek() <= 5 && !m_closed.contains(beijingDate);
}

bool TradingCalendar::isOpenAt(const QDateTime &instant) const {
    const QDateTime local = instant.toTimeZone(BeijingTime());
    if (!isTradingDay(local.date())) {
        return false;
    }
    const QTime time = local.time();
    for (const Session &session : Sessions()) {
        if (time >= session.start && time < session.end) {
            return true;
        }
    }
    return false;
}

QDateTime TradingCalendar::nextOpening(const QDateTime &instant) const {
    const QDateTime local = instant.toTimeZone(BeijingTime());
    for (int day = 0; day < kSearchDays; ++day) {
        const QDate date = local.date().addDays(day);
        if (!isTradingDay(date)) {
            continue;
        }
        for (const Session &session : Sessions()) {
            const QDateTime start(date, session.start, BeijingTime());
            if (start >= instant) {
                return start;
            }
        }
    }
    return {};
}

QDateTime TradingCalendar::lastSessionEnd(const QDateTime &instant) const {
    const QDateTime local = instant.toTimeZone(BeijingTime());
    for (int day = 0; day < kSearchDays; ++day) {
        const QDate date = local.date().addDays(-day);
        if (!isTradingDay(date)) {
            continue;
        }
        for (auto session = Sessions().rbegin(); session != Sessions().rend(); ++session) {
            const QDateTime end(date, session->end, BeijingTime());
            if (end <= instant) {
                return end;
            }
        }
    }
    return {};
}

bool TradingCalendar::readingDue(const QDateTime &lastReading) const {
    const QDateTime current = now();
    if (!lastReading.isValid() || isOpenAt(current)) {
        return true;
    }
    const QDateTime end = lastSessionEnd(current);
    return end.isValid() && lastReading < end;
}

}  // namespace quotes
