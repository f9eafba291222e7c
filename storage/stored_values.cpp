// Column values read in the forms the windows ask for: amount text, integers and flags.
#include "storage/database.h"

#include "numbers/number_syntax.h"

#include <cmath>
#include <cstdint>

namespace storage {

namespace {

bool IsNumber(const QVariant &value) {
    switch (value.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Double:
        case QMetaType::Bool:
            return true;
        default:
            return false;
    }
}

}  // namespace

std::optional<QString> AmountText(const QVariant &value) {
    if (value.isNull()) {
        return QString();
    }
    if (!IsNumber(value)) {
        return std::nullopt;
    }
    return numbers::FormatAmount(value.toDouble());
}

std::optional<int32_t> IntegerValue(const QVariant &value) {
    if (value.isNull()) {
        return 0;
    }
    if (!IsNumber(value)) {
        return std::nullopt;
    }
    const double number = value.toDouble();
    if (number != std::floor(number) || number < INT32_MIN || number > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<int32_t>(number);
}

std::optional<bool> BooleanValue(const QVariant &value) {
    const std::optional<int32_t> number = IntegerValue(value);
    if (!number) {
        return std::nullopt;
    }
    return *number != 0;
}

}  // namespace storage
