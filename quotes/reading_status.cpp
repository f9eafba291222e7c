#include "quotes/reading_status.h"

namespace quotes {

ReadingStatus DescribeReading(const FeedState &reading, qsizetype kept, qsizetype total,
                              const QTime &at, bool anyPrice) {
    const QString time = at.toString(QStringLiteral("HH:mm:ss"));
    const bool bothFailed = !reading.error.isEmpty() && !reading.mainError.isEmpty();
    const QString error =
        bothFailed ? QStringLiteral("%1、%2行情服务都失败了")
                         .arg(ServiceName(QuoteSource::Main), ServiceName(QuoteSource::Fallback))
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
        status.text.prepend(QStringLiteral("行情来源: %1  ").arg(ServiceName(reading.source)));
    }
    if (reading.closed) {
        status.text.prepend(QStringLiteral("休市  "));
    }
    status.details = status.text;
    if (!reading.mainError.isEmpty()) {
        status.details +=
            QStringLiteral("\n%1: %2").arg(ServiceName(QuoteSource::Main), reading.mainError);
    }
    if (bothFailed) {
        status.details +=
            QStringLiteral("\n%1: %2").arg(ServiceName(QuoteSource::Fallback), reading.error);
    }
    return status;
}

}  // namespace quotes
