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
    qsizetype kept = 0;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (i < quotes.size() && quotes[i]) {
            rows[i].price = quotes[i]->price;
            rows[i].previousClose = quotes[i]->previousClose;
            rows[i].quoteTime = quotes[i]->time;
        } else {
            ++kept;
        }
    }
    return kept;
}

ReadingStatus DescribeReading(const quotes::QuoteReading &reading, qsizetype kept, qsizetype total,
                              const QTime &at, bool closed, bool anyPrice) {
    const QString time = at.toString(QStringLiteral("HH:mm:ss"));
    const bool bothFailed = !reading.error.isEmpty() && !reading.mainError.isEmpty();
    const QString error = bothFailed ? QStringLiteral("%1、%2行情服务都失败了")
                                           .arg(quotes::ServiceName(quotes::QuoteSource::Main),
                                                quotes::ServiceName(quotes::QuoteSource::Fallback))
                                     : reading.error;
    ReadingStatus status;
    if (!error.isEmpty()) {
        status.text =
            kept >= total
                ? (anyPrice ? QStringLiteral("%1 %2,显示的是上次的价格")
                            : QStringLiteral("%1 %2,还没有价格"))
                      .arg(time, error)
                : QStringLiteral("%1 %2,%3只股票仍是上次的价格").arg(time, error).arg(kept);
        status.problem = true;
    } else if (kept > 0) {
        status.text = QStringLiteral("%1 %2只股票没有报价").arg(time).arg(kept);
        status.problem = true;
    } else {
        status.text = QStringLiteral("价格更新于 %1").arg(time);
    }
    if (!bothFailed) {
        status.text.prepend(
            QStringLiteral("行情来源: %1  ").arg(quotes::ServiceName(reading.source)));
    }
    if (closed) {
        status.text.prepend(QStringLiteral("休市  "));
    }
    status.details = status.text;
    if (!reading.mainError.isEmpty()) {
        status.details +=
            QStringLiteral("\n%1: %2")
                .arg(quotes::ServiceName(quotes::QuoteSource::Main), reading.mainError);
    }
    if (bothFailed) {
        status.details +=
            QStringLiteral("\n%1: %2")
                .arg(quotes::ServiceName(quotes::QuoteSource::Fallback), reading.error);
    }
    return status;
}

}  // namespace monitor
