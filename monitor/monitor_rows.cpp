#include "monitor/monitor_rows.h"

#include "monitor/alarm_rule.h"

namespace monitor {

AlarmTestResult TestAlarms(const QList<MonitorRow> &rows) {
    AlarmTestResult result;
    result.marks.reserve(rows.size());
    result.colours.reserve(rows.size());
    for (const MonitorRow &row : rows) {
        QChar mark = row.mark;
        if (row.alarmOn) {
            if (const std::optional<QChar> reached = AlarmFor(row.price, row.upper, row.lower)) {
                mark = *reached;
                result.alarm = true;
            }
        }
        result.marks.append(mark);
        result.colours.append(MarkColour(QString(mark)));
    }
    return result;
}

qsizetype ApplyPrices(QList<MonitorRow> &rows, const QList<std::optional<QString>> &prices) {
    qsizetype kept = 0;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (i < prices.size() && prices[i]) {
            rows[i].price = *prices[i];
        } else {
            ++kept;
        }
    }
    return kept;
}

ReadingStatus DescribeReading(const QString &error, qsizetype kept, qsizetype total,
                              const QTime &at) {
    const QString time = at.toString(QStringLiteral("HH:mm:ss"));
    if (!error.isEmpty()) {
        if (kept >= total) {
            return {QStringLiteral("%1 %2,显示的是上次的价格").arg(time, error), true};
        }
        return {QStringLiteral("%1 %2,%3只股票仍是上次的价格").arg(time, error).arg(kept), true};
    }
    if (kept > 0) {
        return {QStringLiteral("%1 %2只股票没有报价").arg(time).arg(kept), true};
    }
    return {QStringLiteral("价格更新于 %1").arg(time), false};
}

}  // namespace monitor
