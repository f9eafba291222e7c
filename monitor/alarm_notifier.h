#pragma once
// Desktop notifications of alarms over the session bus (org.freedesktop.Notifications).
// Never waits for the notification service: each call is answered later, and a row's
// notification replaces that row's earlier one instead of stacking.

#include "monitor/monitor_rows.h"

#include <QDBusConnection>
#include <QHash>
#include <QObject>
#include <QString>

namespace monitor {

enum class AlarmEdge { Upper, Lower };

// "浦发银行(600000) 15.32 ≥ 上限 15", or "… ≤ 下限 14" at the lower edge; the code alone
// when the name is empty.
QString AlarmSummary(const QString &name, const QString &code, const QString &price, AlarmEdge edge,
                     const QString &limit);
// The summary of a row that has started to alarm, at the edge its mark names.
QString AlarmSummary(const MonitorRow &row);

class AlarmNotifier final : public QObject {
    Q_OBJECT
public:
    static constexpr int kAnswerMs = 3000;

    explicit AlarmNotifier(const QDBusConnection &bus = QDBusConnection::sessionBus(),
                           QObject *parent = nullptr);

    // Shows the summary as the notification of this row (any stable key: the code), replacing
    // the row's earlier one. A second call while the service has not answered the first waits
    // for that answer, so the row still has one notification.
    void notify(const QString &rowKey, const QString &summary);

signals:
    // The user chose a notification (its default action).
    void activated(const QString &rowKey);
    // No notification service answered (no session bus, nobody owns the name, an error or no
    // answer in time): the caller shows the summary another way, e.g. the tray's balloon.
    void unavailable(const QString &rowKey, const QString &summary);

private slots:
    void actionInvoked(uint id, const QString &action);

private:
    void send(const QString &rowKey, const QString &summary);

    QDBusConnection m_bus;
    QHash<QString, uint> m_ids;         // the service's id of each row's notification
    QHash<QString, QString> m_waiting;  // rows with a call under way -> the next summary
};

}  // namespace monitor
