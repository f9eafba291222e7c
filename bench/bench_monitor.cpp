// Figures for the price monitor at its largest single request: an 800-code reply decoded
// and parsed, the 800 rows of the monitor updated from it, one alarm test over them, and the
// overlay painted from them. A reading comes every 5 seconds; each of these should take far
// less than a frame (16 ms).

#include "monitor/monitor_window.h"
#include "monitor/overlay_window.h"
#include "monitor/watch_session.h"
#include "platform/fake/fake_platform.h"
#include "quotes/market.h"
#include "quotes/quote_client.h"
#include "quotes/quote_protocol.h"
#include "quotes/reply_inflater.h"

#include <QApplication>
#include <QStringEncoder>

#include <benchmark/benchmark.h>
#include <zlib.h>

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
                    "38712345,396543210.000,1200,10.240,3400,10.230,0,0,0,0,0,0,0,0,0,0,0,0,0,0,"
                    "0,0,2024-05-10,15:00:00,00\";\n")
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

// A hostile reply as the client unpacks it in one reading: a 256 MB run of blanks packed as
// gzip (about 250 KB), taken in the network layer's 64 KB pieces until the size cap stops it.
// The goal is well under 50 ms a reading.
void BM_GzipBombReading(benchmark::State &state) {
    const QByteArray plain(256 << 20, ' ');
    z_stream z{};
    deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, MAX_WBITS + 16, 9, Z_DEFAULT_STRATEGY);
    QByteArray packed(static_cast<qsizetype>(deflateBound(&z, static_cast<uLong>(plain.size()))),
                      Qt::Uninitialized);
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(plain.data()));
    z.avail_in = static_cast<uInt>(plain.size());
    z.next_out = reinterpret_cast<Bytef *>(packed.data());
    z.avail_out = static_cast<uInt>(packed.size());
    deflate(&z, Z_FINISH);
    packed.resize(static_cast<qsizetype>(z.total_out));
    deflateEnd(&z);
    for (auto _ : state) {
        quotes::ReplyInflater inflater;
        QByteArray body;
        quotes::ReplyInflater::Result result = quotes::ReplyInflater::Result::More;
        for (qsizetype at = 0; at < packed.size() && result == quotes::ReplyInflater::Result::More;
             at += 64 * 1024) {
            result = inflater.inflate(QByteArrayView(packed).sliced(
                                          at, std::min<qsizetype>(64 * 1024, packed.size() - at)),
                                      body, quotes::QuoteClient::kMaxReplyBytes);
        }
        if (result != quotes::ReplyInflater::Result::TooLarge) {
            state.SkipWithError("the cap did not stop the unpacking");
        }
        benchmark::DoNotOptimize(body);
    }
}
BENCHMARK(BM_GzipBombReading)->Unit(benchmark::kMillisecond);

// A session without a feed, so nothing goes to the network: readings come by hand.
std::unique_ptr<monitor::WatchSession> Session(const QStringList &codes) {
    auto session =
        std::make_unique<monitor::WatchSession>(nullptr, monitor::WatchSession::Outlets{});
    QList<storage::WatchEntry> entries;
    for (const QString &code : codes) {
        entries.append({0,
                        code,
                        QStringLiteral("浦发银行"),
                        {10.2, QStringLiteral("10.2")},
                        {9.9, QStringLiteral("9.9")}});
    }
    session->start(entries);
    return session;
}

quotes::FeedReading Reading(const QStringList &codes, int tick) {
    quotes::FeedReading reading;
    for (qsizetype i = 0; i < codes.size(); ++i) {
        quotes::QuoteDetail quote;
        quote.price = QString::number(10 + ((tick + i) % 50) / 100.0, 'f', 2);
        quote.previousClose = QStringLiteral("10.14");
        reading.quotes.insert(codes[i], quote);
    }
    return reading;
}

void BM_UpdateRows800(benchmark::State &state) {
    const QStringList codes = Codes();
    const auto session = Session(codes);
    auto *window = new TForm10(session.get());
    window->show();
    const quotes::FeedReading readings[] = {Reading(codes, 0), Reading(codes, 1)};
    int tick = 0;
    for (auto _ : state) {
        session->apply(readings[++tick % 2]);
        QApplication::processEvents();  // the repaint
    }
    delete window;
}
BENCHMARK(BM_UpdateRows800)->Unit(benchmark::kMillisecond);

void BM_AlarmTest800(benchmark::State &state) {
    const QStringList codes = Codes();
    const auto session = Session(codes);
    auto *window = new TForm10(session.get());
    window->show();
    session->apply(Reading(codes, 0));
    for (auto _ : state) {
        session->testAlarms();
        QApplication::processEvents();
    }
    delete window;
}
BENCHMARK(BM_AlarmTest800)->Unit(benchmark::kMillisecond);

void BM_PaintOverlay800(benchmark::State &state) {
    const QStringList codes = Codes();
    const auto session = Session(codes);
    session->apply(Reading(codes, 0));
    const settings::InForce inForce;
    auto *overlay = new TForm12(inForce, session.get());
    overlay->show();
    for (auto _ : state) {
        overlay->PaintOverlay();
        QApplication::processEvents();
    }
    delete overlay;
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
