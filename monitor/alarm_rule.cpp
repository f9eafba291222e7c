#include "monitor/alarm_rule.h"
#include "numbers/number_syntax.h"

namespace monitor {

std::optional<QChar> AlarmFor(const QString &current, const QString &upper, const QString &lower) {
    const std::optional<double> price = numbers::ParseDecimal(current);
    const std::optional<double> top = numbers::ParseDecimal(upper);
    const std::optional<double> bottom = numbers::ParseDecimal(lower);
    if (!price || !top || !bottom || !(*price > 0)) {
        return std::nullopt;
    }
    if (*price >= *top) {
        return u'+';
    }
    if (*price <= *bottom) {
        return u'-';
    }
    return u'0';
}

uint32_t MarkColour(const QString &mark) {
    if (mark.startsWith(u'+')) {
        return 0xff0000;
    }
    if (mark.startsWith(u'-')) {
        return 0x008000;
    }
    return 0x000000;
}

}  // namespace monitor
