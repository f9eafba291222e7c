#pragma once
// The settings row of table `setup`: the fee schedule and the system parameters, with the
// rules by which stored values become what the dialogs show.

#include "numbers/fee_schedule.h"
#include "storage/database.h"
#include "storage/setup_columns.h"

#include <QStringList>

#include <optional>

namespace storage {

struct StoredFees {
    numbers::FeeTexts texts;  // in record order, read as amount texts
    numbers::TransferBasis transferBasis = numbers::TransferBasis::PerShare;
    // Blank where NULL, missing or unreadable; the unreadable ones are named below.
    numbers::ClassCommissionTexts classTexts = {};
    QStringList unreadableClassColumns;
};

// The fee texts and the transfer basis; empty when the load fails.
std::optional<StoredFees> LoadFees(const Database &database);
std::optional<numbers::FeeTexts> LoadFeeTexts(const Database &database);
// Writes the seven rates and the transfer basis, adding the basis column to a file that
// lacks it.
bool SaveFeeSchedule(const Database &database, const numbers::FeeSchedule &fees);

// The system parameters as stored. A load reads the columns in this order and stops at the
// first that fails: the values read before it are kept, the rest stay empty.
struct StoredSystemParameters {
    std::optional<int32_t> differenceCorner;  // S1
    std::optional<int32_t> averageCorner;     // S2
    std::optional<bool> refreshOn;            // CN
    std::optional<int32_t> refreshSeconds;    // TM
    std::optional<int32_t> fontSize;          // FZ
    std::optional<int32_t> colourIndex;       // FC
};

// Writes the six class commission columns, NULL for an unset one, adding them to a file that
// lacks them.
bool SaveClassCommissions(const Database &database, const numbers::ClassCommission &fund,
                          const numbers::ClassCommission &bond);

StoredSystemParameters LoadSystemParameters(const Database &database);

struct SystemParameters {
    int32_t differenceCorner = InitialInteger(kS1);
    int32_t averageCorner = InitialInteger(kS2);
    bool refreshOn = InitialInteger(kCN) != 0;
    int32_t refreshSeconds = InitialInteger(kTM);
    int32_t fontSize = InitialInteger(kFZ);
    int32_t colourIndex = InitialInteger(kFC);
};

bool SaveSystemParameters(const Database &database, const SystemParameters &parameters);

}  // namespace storage
