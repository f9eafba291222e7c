#include "quotes/trading_calendar.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <array>
#include <optional>

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
// A closure-day list is a few hundred bytes; a file far past that is not one, and is read
// only up to here.
constexpr qint64 kMaxListBytes = 1024 * 1024;

// The date a line of a closure-day list names: an invalid date for a line that names none
// (blank, or a comment alone after "#"), nothing for a line that is not a date.
std::optional<QDate> LineDate(QStringView line) {
    const QStringView text = line.left(line.indexOf(u'#')).trimmed();
    if (text.isEmpty()) {
        return QDate();
    }
    const QDate date = QDate::fromString(text.toString(), Qt::ISODate);
    return date.isValid() ? std::optional(date) : std::nullopt;
}

// The list's text, read whole up to the bound; what was cut or not understood is said in
// the log, so that a date added by hand and silently lost can be found.
QString ReadList(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QByteArray bytes = file.read(kMaxListBytes + 1);
    if (bytes.size() > kMaxListBytes) {
        bytes.truncate(kMaxListBytes);
        bytes.truncate(bytes.lastIndexOf('\n') + 1);  // no half line
        qWarning().noquote() << QStringLiteral("休市日列表 %1 超过 1 MB,只读取了前 1 MB")
                                    .arg(QDir::toNativeSeparators(path));
    }
    const QString text = QString::fromUtf8(bytes);
    qsizetype ignored = 0;
    for (QStringView line : QStringView(text).split(u'\n')) {
        ignored += LineDate(line) ? 0 : 1;
    }
    if (ignored > 0) {
        qWarning().noquote() << QStringLiteral("休市日列表 %1 中有 %2 行不是日期,已忽略")
                                    .arg(QDir::toNativeSeparators(path))
                                    .arg(ignored);
    }
    return text;
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
        const std::optional<QDate> date = LineDate(line);
        if (date && date->isValid()) {
            m_closed.insert(*date);
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
