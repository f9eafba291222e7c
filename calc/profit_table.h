#pragma once
// The profit ladder: fees and net profit of selling a whole holding at a row of prices around
// its cost price, lowest first.

#include "numbers/cost_engine.h"

#include <QList>

namespace calc {

enum class StepMode { Fen, Percent };

struct ProfitTableRequest {
    QString averageText;   // buy price of every row
    QString costText;      // centre of the ladder
    QString quantityText;  // quantity of every row
    StepMode mode = StepMode::Fen;
    int32_t fenStep = 1;
    int32_t percentStep = 1;
    int32_t range = 10;  // rows on each side; steps and range are held to 1 to 100
    numbers::Exchange exchange = numbers::Exchange::Shenzhen;
    numbers::InstrumentClass instrument = numbers::InstrumentClass::Share;
    numbers::FeeScheduleReading fees;  // the fees in force
};

struct ProfitRow {
    QString price;
    QString totalFees;
    QString netProfit;
    QString feeText;  // "购入印花税：a;卖出印花税：b;购入手续费：c;卖出手续费：d;过户费：e;"
};

struct ProfitTable {
    QList<ProfitRow> rows;
    // A fee rate that does not parse is reported once; every row still shows its price.
    // A holding figure that does not parse stops the fill at that row.
    QString error;
};

ProfitTable FillProfitTable(const ProfitTableRequest &request);

enum class RowColour { Gain, Loss, CostPrice };

// Red for a gain (zero included), green for a loss, black for the row at the cost price text.
RowColour ProfitRowColour(const ProfitRow &row, const QString &costText);

}  // namespace calc
