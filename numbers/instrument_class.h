#pragma once
// The kind of security a code is: shares pay stamp tax and the transfer fee; funds (ETF, LOF,
// closed-end, REITs) and bonds (convertible, treasury, corporate, repo) pay neither and may
// carry a commission of their own. Which class a code is stands beside the market rule.

#include <QString>

namespace numbers {

enum class InstrumentClass { Share, Fund, Bond };

// "股票", "基金", "债券".
QString ClassName(InstrumentClass instrument);

// The class of a class list's index (股票, 基金, 债券 in that order); anything else is a share.
InstrumentClass ClassFromIndex(int index);

// The decimals the exchanges quote the class in: 2 for shares, 3 for funds and bonds. The
// price tick is one unit of the last of them.
int QuoteDecimals(InstrumentClass instrument);

}  // namespace numbers
