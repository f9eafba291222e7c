#include "quotes/quote_source_policy.h"

namespace quotes {

QString ServiceName(QuoteSource source) {
    return source == QuoteSource::Main ? QStringLiteral("新浪") : QStringLiteral("腾讯");
}

QuoteSourcePolicy::QuoteSourcePolicy(Clock clock) : m_clock(OrRealTime(std::move(clock))) {}

QuoteSource QuoteSourcePolicy::firstSource() const {
    if (!m_switched) {
        return QuoteSource::Main;
    }
    const qint64 since = m_lastMainTry.secsTo(m_clock());
    // A clock set back counts as time gone by: the main service is never left untried.
    return since >= kRetryMainSeconds || since < 0 ? QuoteSource::Main : QuoteSource::Fallback;
}

void QuoteSourcePolicy::mainAnswered(bool ok) {
    m_lastMainTry = m_clock();
    if (ok) {
        m_failures = 0;
        m_switched = false;
        return;
    }
    if (++m_failures >= kFailuresBeforeSwitch) {
        m_switched = true;
    }
}

}  // namespace quotes
