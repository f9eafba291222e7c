// Figures for the cost engine: a round trip, the amount format and the parsers.

#include "calc/profit_table.h"
#include "numbers/cost_engine.h"
#include "numbers/money.h"
#include "numbers/number_syntax.h"

#include <benchmark/benchmark.h>

namespace {

void BM_ComputeTradeCosts(benchmark::State &state) {
    const numbers::FeeSchedule fees;
    double sell = 11.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(sell);
        benchmark::DoNotOptimize(
            numbers::ComputeTradeCosts(10.0, sell, 1000, numbers::Exchange::Shanghai, fees));
    }
}
BENCHMARK(BM_ComputeTradeCosts);

void BM_RoundToFen(benchmark::State &state) {
    double value = 2.675;
    for (auto _ : state) {
        benchmark::DoNotOptimize(value);
        benchmark::DoNotOptimize(numbers::RoundToFen(value));
    }
}
BENCHMARK(BM_RoundToFen);

void BM_FormatAmount(benchmark::State &state) {
    double value = 312.72;
    for (auto _ : state) {
        benchmark::DoNotOptimize(value);
        benchmark::DoNotOptimize(numbers::FormatAmount(value));
    }
}
BENCHMARK(BM_FormatAmount);

void BM_ParseDecimal(benchmark::State &state) {
    const QString text = QStringLiteral("12.345");
    for (auto _ : state) {
        benchmark::DoNotOptimize(numbers::ParseDecimal(text));
    }
}
BENCHMARK(BM_ParseDecimal);

void BM_ParseWholeNumber(benchmark::State &state) {
    const QString text = QStringLiteral("100000");
    for (auto _ : state) {
        benchmark::DoNotOptimize(numbers::ParseWholeNumber(text));
    }
}
BENCHMARK(BM_ParseWholeNumber);

void BM_ReadFeeSchedule(benchmark::State &state) {
    const numbers::FeeTexts texts = numbers::DefaultFeeTexts();
    for (auto _ : state) {
        benchmark::DoNotOptimize(numbers::ReadFeeSchedule(texts));
    }
}
BENCHMARK(BM_ReadFeeSchedule);

// A whole calculation request as the calculators run it: parse, validate, compute.
void BM_CalculateTrade(benchmark::State &state) {
    numbers::TradeRequest request{QStringLiteral("10"), QStringLiteral("11"),
                                  QStringLiteral("1000"), numbers::Exchange::Shenzhen,
                                  numbers::ReadFeeSchedule(numbers::DefaultFeeTexts())};
    for (auto _ : state) {
        benchmark::DoNotOptimize(numbers::CalculateTrade(request));
    }
}
BENCHMARK(BM_CalculateTrade);

// The largest profit table: 201 rows, each a full round trip with its texts.
void BM_FillProfitTable(benchmark::State &state) {
    calc::ProfitTableRequest request;
    request.averageText = QStringLiteral("10");
    request.costText = QStringLiteral("10.07");
    request.quantityText = QStringLiteral("1000");
    request.range = 100;
    request.fees = numbers::ReadFeeSchedule(numbers::DefaultFeeTexts());
    for (auto _ : state) {
        benchmark::DoNotOptimize(calc::FillProfitTable(request));
    }
}
BENCHMARK(BM_FillProfitTable)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
