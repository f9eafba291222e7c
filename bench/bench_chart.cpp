// Figures for the intraday chart: the paint of a full day (241 minutes, every line) and of a
// resize, each into an image the chart's size. Both should stay well under a frame; the goal
// here is under 2 ms.

#include "chart/intraday_chart.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

std::unique_ptr<chart::IntradayChart> FullDay() {
    chart::MinuteSeries series(QDate(2026, 3, 6));
    series.setPreviousClose(10.0);
    qint64 volume = 0;
    double amount = 0;
    for (int slot = 0; slot < chart::kMinutesPerDay; ++slot) {
        const double price = 10.0 + 0.3 * std::sin(slot / 20.0);
        volume += 10000 + (slot * 7919) % 50000;
        amount += price * (10000 + (slot * 7919) % 50000);
        series.put(slot, price, volume, amount);
    }
    auto widget = std::make_unique<chart::IntradayChart>();
    widget->resize(598, 340);
    widget->setMinutes(series.derive(), series.previousClose(), chart::QuotingOf("600000"));
    widget->setLines({10.2, 10.26, 10.5, 9.6});
    return widget;
}

void BM_PaintFullDay(benchmark::State &state) {
    const auto widget = FullDay();
    QImage image(widget->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        widget->render(&image);
    }
}
BENCHMARK(BM_PaintFullDay)->Unit(benchmark::kMillisecond);

void BM_PaintAfterResize(benchmark::State &state) {
    const auto widget = FullDay();
    int step = 0;
    for (auto _ : state) {
        widget->resize(598 - (step % 2) * 120, 340 - (step % 2) * 80);
        ++step;
        QImage image(widget->size(), QImage::Format_RGB32);
        widget->render(&image);
    }
}
BENCHMARK(BM_PaintAfterResize)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
