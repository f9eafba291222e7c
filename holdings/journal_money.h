#pragma once
// What the journal's bookings and adjustments both work with: exact amounts, money to the fen,
// and which rows an adjustment booked.

#include "numbers/decimal.h"
#include "storage/journal_store.h"

namespace holdings::journal_money {

inline constexpr int kFen = 2;

inline numbers::Decimal Exact(double value) {
    return numbers::Decimal::Of(value);
}

inline double Fen(const numbers::Decimal &value) {
    return value.rounded(kFen).toDouble();
}

inline bool IsAdjustment(const storage::TradeRow &row) {
    return row.kind == storage::kDividend || row.kind == storage::kBonus;
}

}  // namespace holdings::journal_money
