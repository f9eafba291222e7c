#include "monitor/alarm_notifier.h"

#include "quotes/market.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace monitor {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");

}  // namespace

QString AlarmSummary(const QString &name, const QString &code, const QString &price, AlarmEdge edge,
                     const QString &limit) {
    const QString who = name.isEmpty() ? code : QStringLiteral("%1(%2)").arg(name, code);
    const QString band =
        edge == AlarmEdge::Upper ? QStringLiteral("≥ 上限") : QStringLiteral("≤ 下限");
    return QStringLiteral("%1 %2 %3 %4")
        .arg(who, quotes::market::PriceInClassDecimals(price, quotes::market::ClassOf(code)), band,
             limit);
}

QString AlarmSummary(const MonitorRow &row) {
    const bool upper = row.mark == u'+';
    return AlarmSummary(row.name, row.code, row.price, upper ? AlarmEdge::Upper : AlarmEdge::Lower,
                        upper ? row.upper : row.lower);
}

AlarmNotifier::AlarmNotifier(const QDBusConnection &bus, QObject *parent)
    : QObject(parent), m_bus(bus) {
    // No sender named: naming one makes Qt ask the bus for the name's owner, and waits.
    // The ids that come back are ours, so a stranger's signal matches no row.
    m_bus.connect(QString(), kPath, kService, QStringLiteral("ActionInvoked"), this,
                  SLOT(actionInvoked(uint, QString)));
}

void AlarmNotifier::notify(const QString &rowKey, const QString &summary) {
    if (m_waiting.contains(rowKey)) {
        m_waiting[rowKey] = summary;
        return;
    }
    send(rowKey, summary);
}

void AlarmNotifier::send(const QString &rowKey, const QString &summary) {
    if (!m_bus.isConnected()) {
        QMetaObject::invokeMethod(
            this, [this, rowKey, summary] { emit unavailable(rowKey, summary); },
            Qt::QueuedConnection);
        return;
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("stockcalc")}};
    call << QStringLiteral("股票收益计算器")
         << m_ids.value(rowKey)
         // The summary is plain text to the notification service, shown as sent: escaping it
         // would show "&lt;" for a name's "<". Only a body may carry markup, and there is none.
         << QStringLiteral("dialog-information") << summary << QString()
         << QStringList{QStringLiteral("default"), QStringLiteral("查看监控股票价格")} << hints
         << qint32(-1);
    m_waiting.insert(rowKey, QString());
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, kAnswerMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, rowKey, summary] {
        watcher->deleteLater();
        const QDBusPendingReply<uint> reply = *watcher;
        if (reply.isError()) {
            emit unavailable(rowKey, summary);
        } else {
            m_ids.insert(rowKey, reply.value());
        }
        const QString next = m_waiting.take(rowKey);
        if (!next.isEmpty()) {
            send(rowKey, next);
        }
    });
}

void AlarmNotifier::actionInvoked(uint id, const QString &action) {
    if (action != u"default") {
        return;
    }
    for (auto it = m_ids.cbegin(); it != m_ids.cend(); ++it) {
        if (it.value() == id) {
            emit activated(it.key());
            return;
        }
    }
}

}  // namespace monitor
