// Figures for the price monitor at its largest single request: an 800-code reply decoded
// and parsed, the 800 rows of the monitor updated from it, one alarm test over them, and the
// overlay painted from them. A reading comes every 5 seconds; each of these should take far
// less than a frame (16 ms).

#include "monitor/monitor_window.h"
#include "monitor/overlay_window.h"
#include "platform/fake/fake_platform.h"
#include "quotes/market.h"
#include "quotes/quote_protocol.h"

#include <QApplication>
#include <QStringEncoder>

#include <benchmark/benchmark.h>

namespace {

QStringList Codes() {
    QStringList codes;
    for (int i = 0; i < quotes::kCodesPerRequest; ++i) {
        codes.append(QString::number(600000 + i));
    }
    return codes;
}

QByteArray Reply(const QStringList &codes, int tick) {
    QString text;
    for (const QString &code : codes) {
        text += QStringLiteral(
                    "var hq_str_%1=\"浦发银行,10.150,10.140,%2,10.300,10.080,10.240,10.250,"
                    "38712345,396543210.000,1200,10.240,3400,10.230,2024-05-10,15:00:00,00\";\n")
                    .arg(quotes::market::Prefixed(code))
                    .arg(10 + (tick % 100) / 100.0, 0, 'f', 3);
    }
    QStringEncoder gbk("GBK");
    return gbk.encode(text);
}

void BM_ParseReply800(benchmark::State &state) {
    const QByteArray reply = Reply(Codes(), 1);
    for (auto _ : state) {
        const auto prices = quotes::ParseMainQuoteDetails(*quotes::DecodeQuoteReply(reply));
        benchmark::DoNotOptimize(prices);
    }
    state.SetBytesProcessed(state.iterations() * reply.size());
}
BENCHMARK(BM_ParseReply800)->Unit(benchmark::kMillisecond);

TForm10 *Monitor(const QStringList &codes) {
    auto *window = new TForm10();
    for (const QString &code : codes) {
        window->AddRow(code, QStringLiteral("浦发银行"), QStringLiteral("10.2"),
                       QStringLiteral("9.9"));
    }
    window->show();
    return window;
}

quotes::QuoteReading Reading(const QStringList &codes, int tick) {
    quotes::QuoteReading reading;
    for (qsizetype i = 0; i < codes.size(); ++i) {
        quotes::QuoteDetail quote;
        quote.price = QString::number(10 + ((tick + i) % 50) / 100.0, 'f', 2);
        quote.previousClose = QStringLiteral("10.14");
        reading.quotes.append(quote);
    }
    return reading;
}

void BM_UpdateRows800(benchmark::State &state) {
    const QStringList codes = Codes();
    TForm10 *window = Monitor(codes);
    const quotes::QuoteReading readings[] = {Reading(codes, 0), Reading(codes, 1)};
    int tick = 0;
    for (auto _ : state) {
        window->ApplyReading(readings[++tick % 2]);
        QApplication::processEvents();  // the repaint
    }
    delete window;
}
BENCHMARK(BM_UpdateRows800)->Unit(benchmark::kMillisecond);

void BM_AlarmTest800(benchmark::State &state) {
    const QStringList codes = Codes();
    TForm10 *window = Monitor(codes);
    window->ApplyReading(Reading(codes, 0));
    for (auto _ : state) {
        window->Timer2Timer();
        QApplication::processEvents();
    }
    delete window;
}
BENCHMARK(BM_AlarmTest800)->Unit(benchmark::kMillisecond);

void BM_PaintOverlay800(benchmark::State &state) {
    const QStringList codes = Codes();
    TForm10 *window = Monitor(codes);
    window->ApplyReading(Reading(codes, 0));
    window->SpeedButton3Click();
    for (auto _ : state) {
        window->PaintOverlay();
        QApplication::processEvents();
    }
    delete TForm12::instance;
    delete window;
}
BENCHMARK(BM_PaintOverlay800)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    platform::Install(std::make_unique<platform::FakePlatform>());  // alarms without sound
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
