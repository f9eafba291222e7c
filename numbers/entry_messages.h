#pragma once
// The messages both list editors give for a typed code or price that will not do.

#include <QString>

namespace numbers {

inline QString CodeIncompleteMessage() {
    return QStringLiteral("股票代码不完事!请正确填写.");
}
inline QString CodeInvalidMessage() {
    return QStringLiteral("股票代码错误!请正确填写.");
}
inline QString PriceInvalidMessage() {
    return QStringLiteral("股票价格错误!请正确填写.");
}

}  // namespace numbers
