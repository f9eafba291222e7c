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

qsizetype ApplyPrices(QList<MonitorRow> &rows, const quotes::FeedReading &reading) {
    QStringList codes;
    for (MonitorRow &row : rows) {
        codes.append(row.code);
        if (const std::optional<quotes::QuoteDetail> quote = reading.quote(row.code)) {
            row.price = quote->price;
            row.previousClose = quote->previousClose;
            row.quoteTime = quote->time;
        }
    }
    return reading.unpriced(codes);
}

}  // namespace monitor
