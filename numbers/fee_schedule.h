#pragma once
// The fee schedule: the seven fee parameters, their texts as the fee-rate dialog holds them,
// and the reading of those texts with the message of the first bad field.

#include <QString>

#include <array>
#include <optional>

namespace numbers {

// What the two transfer rates are charged on: fen per share, once per round trip, or per
// mille of the amount, on the buy and on the sell.
enum class TransferBasis { PerShare, PerAmount };

// The seven fee parameters, in the order they are validated and stored, and the basis of
// the transfer rates.
struct FeeSchedule {
    double BuyStampTaxRate = 0;       // per mille of the buy amount
    double SellStampTaxRate = 1;      // per mille of the sell amount
    double BuyCommissionRate = 3;     // per mille of the buy amount
    double SellCommissionRate = 3;    // per mille of the sell amount
    double ShenzhenTransferRate = 0;  // fen per share, or per mille of the amount
    double ShanghaiTransferRate = 0.1;
    double MinCommission = 5;  // yuan, per side
    TransferBasis TransferFeeBasis = TransferBasis::PerShare;
};

// The fee texts in record order: buy stamp tax, sell stamp tax, buy commission,
// sell commission, Shenzhen transfer, Shanghai transfer, minimum commission.
using FeeTexts = std::array<QString, 7>;

// The message naming each fee field, in record order.
const std::array<QString, 7> &FeeFieldMessages();

FeeTexts DefaultFeeTexts();

struct FeeScheduleReading {
    std::optional<FeeSchedule> schedule;
    QString error;  // the first bad field's message when schedule is empty
};

// The schedule of the seven texts, charging the transfer rates on `basis`.
FeeScheduleReading ReadFeeSchedule(const FeeTexts &texts,
                                   TransferBasis basis = TransferBasis::PerShare);

}  // namespace numbers
