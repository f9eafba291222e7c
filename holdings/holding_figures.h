#pragma once
// The figures of the holdings manager: each lot's reference cost price, the combined cost of
// the checked lots of one stock, and the merge of those lots into one. The window hands in
// the lots as numbers and shows what comes out.

#include "numbers/fee_schedule.h"
#include "storage/holdings_store.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

namespace holdings {

// The li-rounded sell price at which one share bought at buyPrice breaks even after the
// four percentage fees; 0 when the sell rates add up to 1000 ‰ or the price cannot be
// rounded. Transfer fees and the minimum commission do not count.
double ReferenceCostPrice(double buyPrice, const numbers::FeeSchedule &fees);

// The fee rates for reference costs; none when a rate text in force does not parse, which
// gives reference costs of 0.
using ReferenceFees = std::optional<numbers::FeeSchedule>;

double ReferenceOf(double buyPrice, const ReferenceFees &fees);

// A buy price as the list and the edit panel show it: to the li, like the combined average.
QString PriceText(double price);

// The texts of the edit panel, the price already normalised.
struct LotInput {
    QString codeText;
    QString priceText;
    QString quantityText;
};

struct LotValidation {
    std::optional<storage::HoldingLot> lot;  // identity 0
    QString error;                           // the first bad field's message
};

// Checks code, price and quantity in that order and stops at the first bad one; then that the
// lot's amount (price × quantity) lies within the limit of a typed number.
LotValidation ValidateLot(const LotInput &input);

// A modal message box with the error icon and an OK button.
struct Message {
    QString caption;
    QString text;
};

// A checked lot with its reference cost as the list shows it.
struct CheckedLot {
    storage::HoldingLot lot;
    double reference = 0;
};

// The total quantity of lots and their quantity-weighted mean price and reference cost, each
// to the li; nothing when the total goes beyond the 32-bit range or a mean cannot be rounded.
// The means are 0 when the total is 0.
struct CombinedFigures {
    int32_t quantity = 0;
    double average = 0;
    double breakEven = 0;
};
std::optional<CombinedFigures> CombineFigures(const QList<CheckedLot> &lots);

// "合并成本价": the texts of the four summary fields, all empty unless set below.
struct CombinedCost {
    QString code;           // 股票代码 (empty when nothing is checked)
    QString quantityText;   // 股票数量
    QString averageText;    // 购入均价
    QString breakEvenText;  // 持平价
    bool mixedCodes = false;
    std::optional<Message> message;  // the mismatch, or "参数错误!无法计算."
};

// `checked`: the checked lots in list order. A total quantity of 0 leaves the figures empty
// without a message; a total beyond the 32-bit range or a price that cannot be rounded leaves
// only the code shown.
CombinedCost CombineCheckedLots(const QList<CheckedLot> &checked);

// "合并": the first lot survives with the total quantity at the exact average price (the
// nearest double to Σ quantity × price / Σ quantity), so that the merged lot costs what the
// lots cost; the others are deleted. A lot named twice counts once.
struct MergePlan {
    bool mixedCodes = false;
    std::optional<Message> message;  // the mismatch, or a merged amount beyond the limit
    // Empty when nothing is to change: mixed codes, no lot, a total of 0, a total beyond the
    // 32-bit range, or a merged amount beyond the limit of a typed number.
    std::optional<storage::HoldingLot> survivor;  // as it is to be stored
    QList<storage::HoldingLot> removed;           // in the order given
};

MergePlan PlanMerge(const QList<storage::HoldingLot> &lots);

}  // namespace holdings
