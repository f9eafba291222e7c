// Figures for the trade journal with 10,000 lots and 100,000 journal rows: booking a sale and
// undoing it (each one transaction on the real file), and filling the journal window.

#include "holdings/journal_window.h"
#include "holdings/trade_journal.h"
#include "storage/database.h"

#include <QApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QTemporaryDir *g_dir = nullptr;

QString File() {
    return g_dir->filePath(QStringLiteral("股票.mdb"));
}

bool Fill(int lots, int rows) {
    bool filled = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "bench");
        db.setDatabaseName(File());
        if (db.open() && db.transaction()) {
            QSqlQuery query(db);
            query.prepare("INSERT INTO GMM (MID, MONEY, NUMS) VALUES (?, ?, ?)");
            for (int i = 0; i < lots; ++i) {
                query.addBindValue(QString::number(600000 + i % 2000));
                query.addBindValue(5.0 + (i % 997) * 0.01);
                query.addBindValue(100 * (1 + i % 50));
                query.exec();
            }
            query.prepare(
                "INSERT INTO TRADES (DAY, MID, KIND, PRICE, NUMS, COMMISSION, STAMP, TRANSFER, "
                "AMOUNT, PROFIT, LOT, BUYFEES, LOTPRICE, LOTNUMS, BATCH) VALUES (?, ?, '卖出', "
                "10, 100, 5, 1, 0.1, 994, 12.5, ?, 5, 9, 200, 0)");
            for (int i = 0; i < rows; ++i) {
                query.addBindValue(QStringLiteral("20%1-%2-%3")
                                       .arg(16 + i % 10)
                                       .arg(1 + i % 12, 2, 10, QLatin1Char('0'))
                                       .arg(1 + i % 28, 2, 10, QLatin1Char('0')));
                query.addBindValue(QString::number(600000 + i % 2000));
                query.addBindValue(lots + 1 + i);  // lots long gone
                query.exec();
            }
            filled = db.commit();
        }
    }
    QSqlDatabase::removeDatabase("bench");
    return filled;
}

holdings::TradeJournal &Journal() {
    static holdings::TradeJournal journal(storage::Database(File()),
                                          [] { return numbers::FeeSchedule{}; });
    return journal;
}

void BM_SellAndUndo(benchmark::State &state) {
    const storage::HoldingLot lot = storage::ReadLots(storage::Database(File()))->value(4321);
    for (auto _ : state) {
        if (!Journal()
                 .sell(lot, QStringLiteral("11"), QStringLiteral("100"),
                       QStringLiteral("2026-05-06"))
                 .done() ||
            !Journal().undo(lot.code).done()) {
            state.SkipWithError("not booked");
            break;
        }
    }
}
BENCHMARK(BM_SellAndUndo)->Unit(benchmark::kMillisecond);

void BM_OpenJournalWindow(benchmark::State &state) {
    for (auto _ : state) {
        TradeJournalWindow window(&Journal());
        benchmark::DoNotOptimize(window.Rows->rowCount());
    }
}
BENCHMARK(BM_OpenJournalWindow)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    g_dir = &dir;
    if (!storage::Database::Create(File()) || !Fill(10000, 100000)) {
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
