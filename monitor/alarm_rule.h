#pragma once
// When a watched price alarms, and the colour its mark gives the row.

#include <QString>

#include <cstdint>
#include <optional>

namespace monitor {

// Where the price stands against its band: '+' at or above the upper price (also when it
// equals both), '-' at or below the lower one, '0' inside. None for a row that cannot be
// judged: a price text that does not parse, or a current price not above 0 (the service's
// 0.000 before the open and for suspended stocks).
std::optional<QChar> AlarmFor(const QString &current, const QString &upper, const QString &lower);

// The row's text colour as 0xRRGGBB by the first character of its mark: '+' red, '-' green,
// anything else black.
uint32_t MarkColour(const QString &mark);

}  // namespace monitor
