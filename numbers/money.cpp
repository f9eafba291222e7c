#include "numbers/money.h"

#include "numbers/decimal.h"

namespace numbers {

AmountOutOfRange::AmountOutOfRange() : std::range_error("amount out of range") {}

QString AmountOutOfRangeMessage() {
    return QStringLiteral("金额超出可计算的范围!请输入较小的数值.");
}

double RoundToFen(double value) {
    return Decimal::Of(value).rounded(2).toDouble();
}

double RoundToLi(double value) {
    return Decimal::Of(value).rounded(3).toDouble();
}

}  // namespace numbers
