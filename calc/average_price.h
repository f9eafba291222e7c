#pragma once

#include "numbers/fee_schedule.h"
// Average price of a position after a new purchase or sale: the cost price, which counts the
// percentage fees of buying and of selling again, and the plain price with them divided out.

#include <optional>

namespace calc {

enum class PriceKind { Original = 0, Cost = 1 };  // the list "原  价" / "成本价"

// The four per-mille rates that count here; transfer fees and the minimum do not.
struct PercentageRates {
    double BuyStampTaxRate = 0;
    double SellStampTaxRate = 1;
    double BuyCommissionRate = 3;
    double SellCommissionRate = 3;
};

// The break-even sell price per share of the whole remaining position, rounded to li. Empty
// when the arithmetic fails (a zero divisor, a result too large to round).
std::optional<double> EquivalentCostPrice(int32_t existingQuantity, int32_t newQuantity,
                                          double existingPrice, double newPrice, PriceKind kind,
                                          const PercentageRates &rates);

// A cost price with all four rates divided out at once, rounded to li; empty on failure.
std::optional<double> CostToOriginalPrice(double costPrice, const PercentageRates &rates);

struct AverageRequest {
    QString existingPriceText;
    QString newPriceText;
    QString existingQuantityText;
    QString newQuantityText;
    PriceKind kind = PriceKind::Original;
    numbers::FeeScheduleReading fees;  // the four percentage rates count, at the class's rates
    numbers::InstrumentClass instrument = numbers::InstrumentClass::Share;
};

struct AverageCalculation {
    // Field texts to write back: normalised where validation reached the field.
    QString existingPriceText;
    QString newPriceText;
    QString costPriceText;      // for 折合成本价, when there is no error
    QString originalPriceText;  // for 折合原价
    QString error;
};

// Validates in order (existing price, new price, both quantities, their sum) and computes.
AverageCalculation CalculateAverage(const AverageRequest &request);

// Shown when the arithmetic cannot give a price.
QString AverageOutOfRangeMessage();

}  // namespace calc
