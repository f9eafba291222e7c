#include "calc/profit_table.h"

#include "numbers/extended.h"
#include "numbers/fee_schedule.h"
#include "numbers/money.h"
#include "numbers/number_syntax.h"

#include <algorithm>

namespace calc {

using numbers::AmountOutOfRange;
using numbers::AmountOutOfRangeMessage;
using numbers::Extended;
using numbers::FeeScheduleReading;
using numbers::FormatAmount;
using numbers::ParseDecimal;
using numbers::ParseWholeNumber;
using numbers::RoundToFen;

namespace {

QString FeeText(const numbers::TradeCosts &costs) {
    return QStringLiteral("购入印花税：%1;卖出印花税：%2;购入手续费：%3;卖出手续费：%4;过户费：%5;")
        .arg(FormatAmount(costs.BuyStampTax), FormatAmount(costs.SellStampTax),
             FormatAmount(costs.BuyCommission), FormatAmount(costs.SellCommission),
             FormatAmount(costs.TransferFee));
}

// Adds the row for one price; false with the table's error when the fill must stop.
bool AddRow(ProfitTable &table, double price, const ProfitTableRequest &request) {
    ProfitRow row;
    row.price = FormatAmount(price);
    const std::optional<double> buy = ParseDecimal(request.averageText);
    if (!buy) {
        table.error = QStringLiteral("［均价］填写错误!请输入正确的金额.");
        return false;
    }
    // The figures belong exactly to the price as shown.
    const std::optional<double> sell = ParseDecimal(row.price);
    const std::optional<int32_t> quantity = ParseWholeNumber(request.quantityText);
    if (!quantity) {
        table.error = QStringLiteral("［数量］填写错误!请输入正确的数字.");
        return false;
    }
    const FeeScheduleReading &fees = request.fees;
    if (!fees.schedule) {
        table.error = fees.error;
        table.rows.append(row);
        return true;
    }
    try {
        const numbers::TradeCosts costs =
            numbers::ComputeTradeCosts(*buy, sell.value_or(price), *quantity, request.exchange,
                                       *fees.schedule, request.instrument);
        row.totalFees = FormatAmount(costs.TotalFees);
        row.netProfit = FormatAmount(costs.NetProfit);
        row.feeText = FeeText(costs);
    } catch (const AmountOutOfRange &) {
        table.error = AmountOutOfRangeMessage();
        return false;
    }
    table.rows.append(row);
    return true;
}

}  // namespace

ProfitTable FillProfitTable(const ProfitTableRequest &request) {
    ProfitTable table;
    const std::optional<double> cost = ParseDecimal(request.costText);
    if (!cost) {
        table.error = QStringLiteral("［成本］填写错误!请输入正确的金额.");
        return table;
    }
    const auto held = [](int32_t value) { return std::clamp<int32_t>(value, 1, 100); };
    const int32_t range = held(request.range);
    try {
        if (request.mode == StepMode::Fen) {
            const double centre = RoundToFen(*cost);
            const Extended step = held(request.fenStep) * 0.01L;
            for (int32_t i = -range; i <= range; ++i) {
                const double price =
                    static_cast<double>(i <= 0 ? centre - step * -i : centre + step * i);
                if (!AddRow(table, price, request)) {
                    return table;
                }
            }
        } else {
            const Extended step = held(request.percentStep) * 0.01L;
            for (int32_t i = -range; i <= range; ++i) {
                const Extended factor = i <= 0 ? 1 - step * -i : 1 + step * i;
                if (!AddRow(table, RoundToFen(static_cast<double>(factor * *cost)), request)) {
                    return table;
                }
            }
        }
    } catch (const AmountOutOfRange &) {
        table.error = AmountOutOfRangeMessage();
    }
    return table;
}

RowColour ProfitRowColour(const ProfitRow &row, const QString &costText) {
    if (row.price == costText) {
        return RowColour::CostPrice;
    }
    return row.netProfit.startsWith(u'-') ? RowColour::Loss : RowColour::Gain;
}

}  // namespace calc
