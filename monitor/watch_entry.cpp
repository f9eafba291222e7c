#include "monitor/watch_entry.h"
#include "numbers/entry_messages.h"
#include "numbers/number_syntax.h"

namespace monitor {

WatchEntryCheck CheckWatchEntry(const QString &code, const QString &upperText,
                                const QString &lowerText) {
    WatchEntryCheck check;
    check.upperText = upperText;
    if (code.size() != 6) {
        check.error = numbers::CodeIncompleteMessage();
        return check;
    }
    check.upperText = numbers::NormaliseDecimalText(upperText);
    const QString priceError = numbers::PriceInvalidMessage();
    const std::optional<double> upper = numbers::ParseDecimal(check.upperText);
    if (!upper) {
        check.error = priceError;
        return check;
    }
    check.lowerText = numbers::NormaliseDecimalText(lowerText);
    const std::optional<double> lower = numbers::ParseDecimal(*check.lowerText);
    if (!lower) {
        check.error = priceError;
        return check;
    }
    check.upper = *upper;
    check.lower = *lower;
    if (check.upper < check.lower) {
        check.error = QStringLiteral("股票下限价格不能大于上限价格.");
    }
    return check;
}

}  // namespace monitor
