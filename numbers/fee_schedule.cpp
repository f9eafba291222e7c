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
    const FeeSchedule design;
    return {FormatAmount(design.BuyStampTaxRate),      FormatAmount(design.SellStampTaxRate),
            FormatAmount(design.BuyCommissionRate),    FormatAmount(design.SellCommissionRate),
            FormatAmount(design.ShenzhenTransferRate), FormatAmount(design.ShanghaiTransferRate),
            FormatAmount(design.MinCommission)};
}

const std::array<QString, 6> &ClassCommissionMessages() {
    static const std::array<QString, 6> messages = {
        QStringLiteral("［基金买入手续费］填写错误!请输入正确的费率."),
        QStringLiteral("［基金卖出手续费］填写错误!请输入正确的费率."),
        QStringLiteral("［基金最低手续费］填写错误!请输入正确的金额."),
        QStringLiteral("［债券买入手续费］填写错误!请输入正确的费率."),
        QStringLiteral("［债券卖出手续费］填写错误!请输入正确的费率."),
        QStringLiteral("［债券最低手续费］填写错误!请输入正确的金额."),
    };
    return messages;
}

FeeSchedule ScheduleFor(const FeeSchedule &fees, InstrumentClass instrument) {
    if (instrument == InstrumentClass::Share) {
        return fees;
    }
    const ClassCommission &own =
        instrument == InstrumentClass::Fund ? fees.FundCommission : fees.BondCommission;
    FeeSchedule schedule = fees;
    schedule.BuyStampTaxRate = 0;
    schedule.SellStampTaxRate = 0;
    schedule.ShenzhenTransferRate = 0;
    schedule.ShanghaiTransferRate = 0;
    schedule.BuyCommissionRate = own.BuyRate.value_or(fees.BuyCommissionRate);
    schedule.SellCommissionRate = own.SellRate.value_or(fees.SellCommissionRate);
    schedule.MinCommission = own.Minimum.value_or(fees.MinCommission);
    return schedule;
}

ClassCommissionReading ReadClassCommissions(const ClassCommissionTexts &texts) {
    ClassCommissionReading reading;
    std::array<std::optional<double> *, 6> targets{&reading.fund.BuyRate,  &reading.fund.SellRate,
                                                   &reading.fund.Minimum,  &reading.bond.BuyRate,
                                                   &reading.bond.SellRate, &reading.bond.Minimum};
    for (size_t i = 0; i < texts.size(); ++i) {
        if (texts[i].trimmed().isEmpty()) {
            continue;
        }
        const std::optional<double> value = ParseDecimal(texts[i]);
        if (!value) {
            reading.error = ClassCommissionMessages()[i];
            return reading;
        }
        *targets[i] = value;
    }
    return reading;
}

ClassCommissionTexts ClassCommissionTextsOf(const ClassCommission &fund,
                                            const ClassCommission &bond) {
    const auto text = [](const std::optional<double> &value) {
        return value ? FormatAmount(*value) : QString();
    };
    return {text(fund.BuyRate), text(fund.SellRate), text(fund.Minimum),
            text(bond.BuyRate), text(bond.SellRate), text(bond.Minimum)};
}

FeeScheduleReading ReadFeeSchedule(const FeeTexts &texts, TransferBasis basis,
                                   const ClassCommissionTexts &classTexts) {
    std::array<double, 7> values{};
    for (size_t i = 0; i < texts.size(); ++i) {
        const std::optional<double> value = ParseDecimal(texts[i]);
        if (!value) {
            return {std::nullopt, FeeFieldMessages()[i]};
        }
        values[i] = *value;
    }
    const ClassCommissionReading commissions = ReadClassCommissions(classTexts);
    if (!commissions.error.isEmpty()) {
        return {std::nullopt, commissions.error};
    }
    return {FeeSchedule{values[0], values[1], values[2], values[3], values[4], values[5], values[6],
                        basis, commissions.fund, commissions.bond},
            {}};
}

}  // namespace numbers
