// Figures for the holdings manager: loading 10,000 lots into the real window (database read,
// rows filled, list sorted), offscreen.

#include "holdings/book.h"
#include "holdings/holdings_window.h"
#include "storage/database.h"

#include <QApplication>
#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

bool FillDatabase(int lots) {
    bool filled = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "bench");
        db.setDatabaseName(storage::DatabaseFileName());
        if (db.open() && db.transaction()) {
            QSqlQuery query(db);
            query.prepare("INSERT INTO GMM (MID, MONEY, NUMS) VALUES (?, ?, ?)");
            for (int i = 0; i < lots; ++i) {
                // Codes in no order, so the sort has work to do.
                query.addBindValue(QString::number((i * 7919) % 1000000).rightJustified(6, u'0'));
                query.addBindValue(5.0 + (i % 997) * 0.01);
                query.addBindValue(100 * (1 + i % 50));
                query.exec();
            }
            filled = db.commit();
        }
    }
    QSqlDatabase::removeDatabase("bench");
    return filled;
}

void BM_LoadHoldings(benchmark::State &state) {
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    if (!storage::Database::Create(storage::DatabaseFileName()) ||
        !FillDatabase(static_cast<int>(state.range(0)))) {
        state.SkipWithError("cannot make the database");
        return;
    }
    holdings::Book book;
    TForm4 *window = TForm4::Open(&book);
    for (auto _ : state) {
        window->LoadHoldings();
        benchmark::DoNotOptimize(window->Lots->rowCount());
    }
    delete window;
}
BENCHMARK(BM_LoadHoldings)->Arg(10000)->Unit(benchmark::kMillisecond);

// "合并" of lots of one stock with the selected row among the removed ones (goal: under
// 100 ms for 3,000 lots).
void BM_MergeSelectedAmongRemoved(benchmark::State &state) {
    const int lots = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        QDir::setCurrent(dir.path());
        bool made = storage::Database::Create(storage::DatabaseFileName());
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "bench");
            db.setDatabaseName(storage::DatabaseFileName());
            made = made && db.open() && db.transaction();
            QSqlQuery query(db);
            for (int i = 0; made && i < lots; ++i) {
                made = query.exec(QStringLiteral("INSERT INTO GMM (MID, MONEY, NUMS) VALUES "
                                                 "('600000', %1, 100)")
                                      .arg(5 + i % 97));
            }
            made = made && db.commit();
        }
        QSqlDatabase::removeDatabase("bench");
        if (!made) {
            state.SkipWithError("cannot make the database");
            return;
        }
        holdings::Book book;
        TForm4 *window = TForm4::Open(&book);
        window->LoadHoldings();
        for (int row = 0; row < lots; ++row) {
            window->setChecked(row, true);
        }
        window->ListView1->selectRow(1);
        state.ResumeTiming();
        window->SpeedButton9Click();
        state.PauseTiming();
        if (window->Lots->rowCount() != 1) {
            state.SkipWithError("the merge did not happen");
        }
        delete window;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MergeSelectedAmongRemoved)->Arg(3000)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
