#pragma once
// Which exchange a code is listed on, as the two-letter prefix the quote services expect.

#include "numbers/instrument_class.h"

#include <QString>

namespace quotes::market {

// "bj" for codes starting 4, 8 or 92; "sh" for codes starting 5, 6, 7, 9 (other than 92),
// 01, 02, 110, 111, 113, 118, 132 or 204 (Shanghai funds, treasuries, bonds and repos); "sz"
// for everything else,
// which includes Shenzhen's funds (15, 16), convertible bonds (12) and repos (131).
QString Prefix(const QString &code);

// The prefix followed by the code as typed: "sh600000".
QString Prefixed(const QString &code);

// The class of a code, from its prefix and its first digits:
//   Shanghai: funds 5; bonds 0, 1, 2; shares the rest.
//   Shenzhen: funds 15, 16, 18; bonds 10, 11, 12, 13; shares the rest.
//   Beijing: shares.
// A code no rule names is a share, the class that pays every fee.
numbers::InstrumentClass ClassOf(const QString &code);

}  // namespace quotes::market
