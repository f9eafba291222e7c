#pragma once
// The fee schedule: the seven fee parameters, their texts as the fee-rate dialog holds them,
// and the reading of those texts with the message of the first bad field.

#include "numbers/instrument_class.h"

#include <QString>

#include <array>
#include <optional>

namespace numbers {

// What the two transfer rates are charged on: fen per share, once per round trip, or per
// mille of the amount, on the buy and on the sell.
enum class TransferBasis { PerShare, PerAmount };

// The commission of funds or of bonds; a rate or minimum left unset is the share's.
struct ClassCommission {
    std::optional<double> BuyRate;   // per mille of the buy amount
    std::optional<double> SellRate;  // per mille of the sell amount
    std::optional<double> Minimum;   // yuan, per side

    bool operator==(const ClassCommission &) const = default;
};

// The seven fee parameters, in the order they are validated and stored, the basis of the
// transfer rates, and the commissions of funds and bonds.
struct FeeSchedule {
    double BuyStampTaxRate = 0;       // per mille of the buy amount
    double SellStampTaxRate = 1;      // per mille of the sell amount
    double BuyCommissionRate = 3;     // per mille of the buy amount
    double SellCommissionRate = 3;    // per mille of the sell amount
    double ShenzhenTransferRate = 0;  // fen per share, or per mille of the amount
    double ShanghaiTransferRate = 0.1;
    double MinCommission = 5;  // yuan, per side
    TransferBasis TransferFeeBasis = TransferBasis::PerShare;
    ClassCommission FundCommission = {};
    ClassCommission BondCommission = {};
};

// The schedule a trade of `instrument` pays: a share's is `fees` as they stand; a fund or a
// bond pays no stamp tax and no transfer fee, and its own commission where one is set.
FeeSchedule ScheduleFor(const FeeSchedule &fees, InstrumentClass instrument);

// The fee texts in record order: buy stamp tax, sell stamp tax, buy commission,
// sell commission, Shenzhen transfer, Shanghai transfer, minimum commission.
using FeeTexts = std::array<QString, 7>;

// The message naming each fee field, in record order.
const std::array<QString, 7> &FeeFieldMessages();

FeeTexts DefaultFeeTexts();

// The commission texts of funds and bonds: fund buy, fund sell, fund minimum, bond buy, bond
// sell, bond minimum. A blank text is unset (the share's).
using ClassCommissionTexts = std::array<QString, 6>;

// The message naming each class commission field, in that order.
const std::array<QString, 6> &ClassCommissionMessages();

struct ClassCommissionReading {
    ClassCommission fund;
    ClassCommission bond;
    QString error;  // the first field that is neither blank nor a number; the rest unread
};

ClassCommissionReading ReadClassCommissions(const ClassCommissionTexts &texts);

// The text a class commission field shows for a value: blank when unset.
ClassCommissionTexts ClassCommissionTextsOf(const ClassCommission &fund,
                                            const ClassCommission &bond);

struct FeeScheduleReading {
    std::optional<FeeSchedule> schedule;
    QString error;  // the first bad field's message when schedule is empty
};

// The schedule of the seven texts, charging the transfer rates on `basis`, with the class
// commissions of `classTexts`; a class text that is not blank and not a number fails after
// the seven.
FeeScheduleReading ReadFeeSchedule(const FeeTexts &texts,
                                   TransferBasis basis = TransferBasis::PerShare,
                                   const ClassCommissionTexts &classTexts = {});

}  // namespace numbers
