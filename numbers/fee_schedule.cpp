#include "numbers/fee_schedule.h"

#include "numbers/number_syntax.h"

namespace numbers {

const std::array<QString, 7> &FeeFieldMessages() {
    static const std::array<QString, 7> messages = {
        QStringLiteral("［购入交印花税］填写错误!请输入正确的税率."),
        QStringLiteral("［卖出交印花税］填写错误!请输入正确的税率."),
        QStringLiteral("［购入交手续费］填写错误!请输入正确的费率."),
        QStringLiteral("［卖出交手续费］填写错误!请输入正确的费率."),
        QStringLiteral("［深市过户费］填写错误!请输入正确的费率."),
        QStringLiteral("［泸市过户费］填写错误!请输入正确的费率."),
        QStringLiteral("［最低手续费］填写错误!请输入正确的金额."),
    };
    return messages;
}

FeeTexts DefaultFeeTexts() {
    const FeeSchedule defaults;
    return {
        FormatAmount(defaults.BuyStampTaxRate),      FormatAmount(defaults.SellStampTaxRate),
        FormatAmount(defaults.BuyCommissionRate),    FormatAmount(defaults.SellCommissionRate),
        FormatAmount(defaults.ShenzhenTransferRate), FormatAmount(defaults.ShanghaiTransferRate),
        FormatAmount(defaults.MinCommission)};
}

FeeScheduleReading ReadFeeSchedule(const FeeTexts &texts, TransferBasis basis) {
    std::array<double, 7> values{};
    for (size_t i = 0; i < texts.size(); ++i) {
        const std::optional<double> value = ParseDecimal(texts[i]);
        if (!value) {
            return {std::nullopt, FeeFieldMessages()[i]};
        }
        values[i] = *value;
    }
    return {FeeSchedule{values[0], values[1], values[2], values[3], values[4], values[5], values[6],
                        basis},
            {}};
}

}  // namespace numbers
