#pragma once
// Which quote service a reading asks first. Each reading asks the main service, and the
// second one when that fails; after two readings in a row in which the main service failed,
// readings go to the second service alone, and the main one is tried again every five
// minutes until it answers.

#include "quotes/clock.h"

#include <QDateTime>
#include <QString>

namespace quotes {

enum class QuoteSource { Main, Fallback };

// The service's name as the status line shows it: "新浪", "腾讯".
QString ServiceName(QuoteSource source);

class QuoteSourcePolicy final {
public:
    using Clock = quotes::Clock;
    static constexpr int kFailuresBeforeSwitch = 2;
    static constexpr qint64 kRetryMainSeconds = 5 * 60;

    explicit QuoteSourcePolicy(Clock clock = {});

    // The service the reading starting now asks first.
    QuoteSource firstSource() const;
    // The outcome of asking the main service. After a failure the same reading goes on to
    // the second service.
    void mainAnswered(bool ok);
    // Whether readings have gone over to the second service.
    bool switched() const { return m_switched; }

private:
    Clock m_clock;
    int m_failures = 0;
    bool m_switched = false;
    QDateTime m_lastMainTry;
};

}  // namespace quotes
