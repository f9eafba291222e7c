#include "monitor/monitor_rows.h"

#include "monitor/alarm_rule.h"

namespace monitor {

AlarmTestResult TestAlarms(const QList<MonitorRow> &rows) {
    AlarmTestResult result;
    result.marks.reserve(rows.size());
    result.alarming.reserve(rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const MonitorRow &row = rows[i];
        QChar mark = row.mark;
        bool alarming = false;
        const std::optional<QChar> stands =
            row.alarmOn ? AlarmFor(row.price, row.upper, row.lower) : QChar(u'0');
        if (!stands) {
            alarming = row.alarming;  // not judged: as it was
        } else if (*stands != u'0') {
            if (!row.alarming || *stands != row.mark) {
                result.started.append(i);
            }
            mark = *stands;
            alarming = true;
            result.alarm = true;
        }
        result.marks.append(mark);
        result.alarming.append(alarming);
    }
    return result;
}

qsizetype ApplyPrices(QList<MonitorRow> &rows,
                      const QList<std::optional<quotes::QuoteDetail>> &quotes) {
    qsizetype unpriced = 0;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const bool brought = i < quotes.size() && quotes[i];
        if (brought) {
            rows[i].price = quotes[i]->price;
            rows[i].previousClose = quotes[i]->previousClose;
            rows[i].quoteTime = quotes[i]->time;
        }
        if (!brought || quotes[i]->price.isEmpty()) {
            ++unpriced;
        }
    }
    return unpriced;
}

}  // namespace monitor
