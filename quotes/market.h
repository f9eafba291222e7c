#pragma once
// Which exchange a code is listed on, as the two-letter prefix the quote services expect.

#include <QString>

namespace quotes::market {

// "bj" for codes starting 4, 8 or 92; "sh" for codes starting 5, 6, 7, 9 (other than 92),
// 110, 111, 113, 118, 132 or 204 (Shanghai funds, bonds and repos); "sz" for everything else,
// which includes Shenzhen's funds (15, 16), convertible bonds (12) and repos (131).
QString Prefix(const QString &code);

// The prefix followed by the code as typed: "sh600000".
QString Prefixed(const QString &code);

}  // namespace quotes::market
