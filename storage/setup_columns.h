#pragma once

#include "numbers/fee_schedule.h"
// The columns of the settings row `setup`, in file order: their SQL type, the value a fresh
// file and the dialogs start from, and the range a stored value is held to when it is loaded.
// The database creation, the loaders and the dialogs all read this one table.

#include <array>
#include <cstdint>
#include <string_view>

namespace storage {

struct SetupColumn {
    std::string_view name;
    std::string_view type;  // REAL, INTEGER or BOOLEAN
    double initial;
    // The range of a loaded value (integer columns only); what happens outside it is the
    // loader's rule for that column.
    int32_t low = 0;
    int32_t high = 0;
    bool nullable = false;  // starts NULL: unset
};

enum SetupColumnIndex {
    kA1,
    kA2,
    kB1,
    kB2,
    kC1,
    kC2,
    kLM,
    kS1,
    kS2,
    kCN,
    kTM,
    kFZ,
    kFC,
    kTB,
    kFB1,
    kFB2,
    kFLM,
    kZB1,
    kZB2,
    kZLM
};

inline constexpr numbers::FeeSchedule kInitialFees{};

inline constexpr std::array<SetupColumn, 20> kSetupColumns{{
    {"A1", "REAL", kInitialFees.BuyStampTaxRate},
    {"A2", "REAL", kInitialFees.SellStampTaxRate},
    {"B1", "REAL", kInitialFees.BuyCommissionRate},
    {"B2", "REAL", kInitialFees.SellCommissionRate},
    {"C1", "REAL", kInitialFees.ShenzhenTransferRate},
    {"C2", "REAL", kInitialFees.ShanghaiTransferRate},
    {"LM", "REAL", kInitialFees.MinCommission},
    {"S1", "INTEGER", 3, 1, 4},      // difference calculators' corner; outside: the dialog's 3
    {"S2", "INTEGER", 4, 1, 4},      // average calculator's corner
    {"CN", "BOOLEAN", 0},            // trading-client refresh on
    {"TM", "INTEGER", 60, 1, 0},     // refresh seconds; below 1 shows 0
    {"FZ", "INTEGER", 70, 20, 150},  // overlay font size; below 1 shows 70, else held
    {"FC", "INTEGER", 0},            // overlay colour, a position in the colour list
    // Transfer-fee basis, 0 per share, 1 per amount; anything else and a file without the
    // column (it came later, so a save adds it) read per share.
    {"TB", "INTEGER", 0, 0, 1},
    // The commissions of funds and bonds: buy and sell in per mille, the minimum in yuan. NULL
    // is unset, the share's; a file without them (they came with TB) reads them all unset.
    {"FB1", "REAL", 0, 0, 0, true},
    {"FB2", "REAL", 0, 0, 0, true},
    {"FLM", "REAL", 0, 0, 0, true},
    {"ZB1", "REAL", 0, 0, 0, true},
    {"ZB2", "REAL", 0, 0, 0, true},
    {"ZLM", "REAL", 0, 0, 0, true},
}};

// The fee columns, in record order of the fee schedule.
inline constexpr std::array<SetupColumnIndex, 7> kFeeColumns{kA1, kA2, kB1, kB2, kC1, kC2, kLM};

// The class commission columns, in the order of numbers::ClassCommissionTexts.
inline constexpr std::array<SetupColumnIndex, 6> kClassCommissionColumns{kFB1, kFB2, kFLM,
                                                                         kZB1, kZB2, kZLM};

constexpr int32_t InitialInteger(SetupColumnIndex column) {
    return static_cast<int32_t>(kSetupColumns[column].initial);
}

}  // namespace storage
