#pragma once
// The figures of the holdings manager: each lot's reference cost price, the combined cost of
// the checked lots of one stock, and the merge of those lots into one. The window hands in
// its rows' texts and writes back what comes out.

#include "numbers/fee_schedule.h"
#include "storage/holdings_store.h"

#include <QList>
#include <QString>

#include <optional>

namespace holdings {

// The li-rounded sell price at which one share bought at buyPrice breaks even after the
// four percentage fees; 0 when the sell rates add up to 1000 ‰ or the price cannot be
// rounded. Transfer fees and the minimum commission do not count.
double ReferenceCostPrice(double buyPrice, const numbers::FeeSchedule &fees);

// One row of the holdings list: the caption and the four sub-items, as texts.
struct LotRow {
    QString code;           // caption: MID
    QString priceText;      // buy price
    QString quantityText;   // shares
    QString referenceText;  // reference cost price as shown
    // Not shown: the record as last read or written, which changes and deletes must find.
    storage::HoldingLot stored;

    bool operator==(const LotRow &) const = default;
};

// The fee rates for reference costs; none when a rate text in force does not parse, which
// gives reference costs of 0.
using ReferenceFees = std::optional<numbers::FeeSchedule>;

// The row the list shows for a stored lot, and the rows of several.
LotRow RowOf(const storage::HoldingLot &lot, const ReferenceFees &fees);
QList<LotRow> RowsOf(const QList<storage::HoldingLot> &lots, const ReferenceFees &fees);

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

// "合并成本价": the texts of the four summary fields, all empty unless set below.
struct CombinedCost {
    QString code;           // 股票代码 (empty when nothing is checked)
    QString quantityText;   // 股票数量
    QString averageText;    // 购入均价
    QString breakEvenText;  // 持平价
    bool mixedCodes = false;
    std::optional<Message> message;  // the mismatch, or "参数错误!无法计算."
};

// `checked`: the checked rows in list order. A total quantity of 0 leaves the figures empty
// without a message; a text that does not parse, a total beyond the 32-bit range or a price
// that cannot be rounded leaves only the code shown.
CombinedCost CombineCheckedLots(const QList<LotRow> &checked);

// "合并": the first checked lot survives (with every other checked row of its identity) with the
// fen-rounded average price and the total quantity; the others are deleted.
struct MergePlan {
    bool mixedCodes = false;
    std::optional<Message> message;  // the mismatch, or a merged amount beyond the limit
    // Empty when nothing is to change: mixed codes, nothing checked, a total of 0, a text
    // that does not parse, a total beyond the 32-bit range, a price that cannot be rounded, or
    // a merged amount beyond the limit of a typed number.
    std::optional<storage::HoldingLot> survivor;  // as it is to be stored
    LotRow survivorRow;                           // the first checked row with its new sub-items
    QList<qsizetype> removedRows;                 // positions in `checked`, last first
    QList<storage::HoldingLot> removedLots;       // their records, in the same order
};

MergePlan PlanMerge(const QList<LotRow> &checked, const ReferenceFees &fees);

}  // namespace holdings
