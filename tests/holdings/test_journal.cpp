// The trade journal: what a purchase, a sale, a dividend and bonus issue and their undo book
// and do to the lots, on a real database file; and the CSV files it exports.

#include "holdings/journal.h"
#include "holdings/trade_journal.h"
#include "numbers/number_syntax.h"
#include "storage/csv_file.h"
#include "support/read_only_folder.h"
#include "support/side_sql.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/resource.h>
#include <csignal>

using namespace holdings;
using storage::HoldingLot;
using storage::TradeRow;

namespace {

QString Amount(double value) {
    return numbers::FormatAmount(value);
}

// A row's money columns as "commission stamp transfer amount profit buyfees".
QString Money(const TradeRow &row) {
    return QStringList{Amount(row.commission),
                       Amount(row.stamp),
                       Amount(row.transfer),
                       Amount(row.amount),
                       row.profit ? Amount(*row.profit) : "-",
                       Amount(row.buyFees)}
        .join(u' ');
}

// "code price quantity" per lot.
HoldingLot LotOf(const QString &text) {
    const QStringList t = text.split(u' ');
    return {0, t[0], t[1].toDouble(), t[2].toInt()};
}

}  // namespace

class TestJournal : public QObject {
    Q_OBJECT
private slots:
    void init();
    void purchase_data();
    void purchase();
    void sale_data();
    void sale();
    void adjustment_data();
    void adjustment();
    void undo_data();
    void undo();
    void conflict();
    void refusals_data();
    void refusals();
    void olderFile();
    void yearsOfTheJournal();
    void csvText();
    void csvFailedWrite_data();
    void csvFailedWrite();

private:
    storage::Database database() const { return storage::Database(m_file); }
    HoldingLot store(const HoldingLot &lot) const { return *storage::InsertLot(database(), lot); }
    QList<HoldingLot> lots() const { return *storage::ReadLots(database()); }
    QList<TradeRow> rows() const { return *storage::ReadTrades(database()); }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_file;
    std::unique_ptr<TradeJournal> m_journal;
};

void TestJournal::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_file = m_dir->filePath("股票.mdb");
    QVERIFY(storage::Database::Create(m_file));
    m_journal = std::make_unique<TradeJournal>(
        database(), [] { return numbers::FeeSchedule{}; },
        [] { return QDateTime(QDate(2026, 3, 9), QTime(17, 30), Qt::UTC); });
}

void TestJournal::purchase_data() {
    QTest::addColumn<QString>("lot");
    QTest::addColumn<QString>("money");
    // Shanghai pays 0.1 fen a share of transfer fee, once; the minimum commission is 5.
    QTest::newRow("shanghai") << "600000 10 1000"
                              << "30 0 1 -10031 - 0";
    QTest::newRow("shenzhen, minimum") << "000001 10.5 100"
                                       << "5 0 0 -1055 - 0";
}

void TestJournal::purchase() {
    QFETCH(QString, lot);
    QFETCH(QString, money);
    const TradeJournal::Result result = m_journal->buy(LotOf(lot));
    QVERIFY(result.done());
    QCOMPARE(lots().size(), 1);
    const TradeRow row = rows().value(0);
    QCOMPARE(rows().size(), 1);
    QCOMPARE(Money(row), money);
    // Beijing's date is the next day at 17:30 UTC.
    QCOMPARE(QStringList(
                 {row.day, row.kind, row.code, Amount(row.price), QString::number(row.quantity)}),
             QStringList({"2026-03-10", "买入", LotOf(lot).code, Amount(LotOf(lot).price),
                          QString::number(LotOf(lot).quantity)}));
    QCOMPARE(row.lot, lots()[0].identity);
}

void TestJournal::sale_data() {
    QTest::addColumn<QString>("lot");
    QTest::addColumn<bool>("bought");      // with its 买入 row
    QTest::addColumn<QString>("earlier");  // "price quantity" of earlier sales, by commas
    QTest::addColumn<QString>("sale");     // price quantity
    QTest::addColumn<QString>("money");
    QTest::addColumn<int>("left");  // the lot's quantity after, 0: gone
    // Shanghai 10 × 1000 costs 30 commission and 1 transfer to buy: 31 of buy fees.
    QTest::newRow("whole lot, as the profit table") << "600000 10 1000" << false << ""
                                                    << "11 1000"
                                                    << "33 11 0 10956 925 31" << 0;
    QTest::newRow("part carries its share") << "600000 10 1000" << false << ""
                                            << "11 300"
                                            << "9.9 3.3 0 3286.8 277.5 9.3" << 700;
    QTest::newRow("share half up") << "600000 10 1000" << false << ""
                                   << "11 335"
                                   << "11.06 3.69 0 3670.25 309.86 10.39" << 665;
    QTest::newRow("emptying sale takes the rest") << "600000 10 1000" << false << "11 335"
                                                  << "11 665"
                                                  << "21.95 7.32 0 7285.73 615.12 20.61" << 0;
    QTest::newRow("emptying sale takes the rest, not its share")
        << "600000 10 1000" << false << "11 333,11 333"
        << "11 334"
        << "11.02 3.67 0 3659.31 308.95 10.36" << 0;
    QTest::newRow("minimum commission each side") << "000001 10 100" << false << ""
                                                  << "12 100"
                                                  << "5 1.2 0 1193.8 188.8 5" << 0;
    QTest::newRow("loss") << "000001 20 500" << false << ""
                          << "18.5 200"
                          << "11.1 3.7 0 3685.2 -326.8 12" << 300;
    // A fund pays neither stamp tax nor transfer fee: 120 to buy, 126 to sell.
    QTest::newRow("fund") << "510300 4 10000" << false << ""
                          << "4.2 10000"
                          << "126 0 0 41874 1754 120" << 0;
    // A bond at the minimum commission on both sides: 1183.5 - 5 - 1000 - 5.
    QTest::newRow("bond") << "113052 100 10" << false << ""
                          << "118.35 10"
                          << "5 0 0 1178.5 173.5 5" << 0;
    QTest::newRow("fees of the purchase row") << "600000 10 1000" << true << ""
                                              << "11 1000"
                                              << "33 11 0 10956 905 51" << 0;
}

void TestJournal::sale() {
    QFETCH(QString, lot);
    QFETCH(bool, bought);
    QFETCH(QString, earlier);
    QFETCH(QString, sale);
    QFETCH(QString, money);
    QFETCH(int, left);
    HoldingLot held;
    if (bought) {
        // Bought when the commission was 5‰: those fees count, not today's 3‰.
        TradeJournal dearer(database(), [] {
            numbers::FeeSchedule fees;
            fees.BuyCommissionRate = 5;
            return fees;
        });
        QVERIFY(dearer.buy(LotOf(lot)).done());
        held = lots()[0];
    } else {
        held = store(LotOf(lot));
    }
    for (const QString &each : earlier.split(u',', Qt::SkipEmptyParts)) {
        const QStringList t = each.split(u' ');
        QVERIFY(m_journal->sell(held, t[0], t[1], "2026-03-02").done());
        held = lots()[0];
    }
    const QStringList t = sale.split(u' ');
    const TradeJournal::Result result = m_journal->sell(held, t[0], t[1], "2026-03-05");
    QVERIFY2(result.done(), qPrintable(result.message));
    const TradeRow row = rows().last();
    QCOMPARE(Money(row), money);
    QCOMPARE(QStringList({row.kind, row.day, Amount(row.price), QString::number(row.quantity)}),
             QStringList({"卖出", "2026-03-05", t[0], t[1]}));
    QCOMPARE(row.lot, held.identity);
    const QList<HoldingLot> after = lots();
    QCOMPARE(after.size(), left > 0 ? 1 : 0);
    if (left > 0) {
        QCOMPARE(after[0], (HoldingLot{held.identity, held.code, held.price, left}));
    }
}

void TestJournal::adjustment_data() {
    QTest::addColumn<QString>("lot");
    QTest::addColumn<QString>("cash");    // per 10 shares
    QTest::addColumn<QString>("shares");  // per 10 shares
    QTest::addColumn<QString>("booked");  // kind:quantity:amount per row
    QTest::addColumn<QString>("after");   // price quantity
    QTest::newRow("dividend and bonus") << "600000 10 1000"
                                        << "5"
                                        << "10"
                                        << "分红:1000:500 送转:1000:0"
                                        << "4.75 2000";
    QTest::newRow("bonus rounds shares down") << "600000 10 1001"
                                              << ""
                                              << "3"
                                              << "送转:300:0"
                                              << "7.69408147578786 1301";
    QTest::newRow("dividend alone") << "000001 12.34 333"
                                    << "1.5"
                                    << "0"
                                    << "分红:333:49.95"
                                    << "12.19 333";
    QTest::newRow("odd quantity") << "000001 9.99 7"
                                  << "0"
                                  << "4"
                                  << "送转:2:0"
                                  << "7.77 9";
    QTest::newRow("cash not a whole fen") << "000001 10 3"
                                          << "0.35"
                                          << ""
                                          << "分红:3:0.11"
                                          << "9.965 3";
}

void TestJournal::adjustment() {
    QFETCH(QString, lot);
    QFETCH(QString, cash);
    QFETCH(QString, shares);
    QFETCH(QString, booked);
    QFETCH(QString, after);
    const HoldingLot held = store(LotOf(lot));
    const HoldingLot other = store(LotOf("300750 50 100"));  // another code stays
    const TradeJournal::Result result = m_journal->adjust(held.code, cash, shares, "2026-06-18");
    QVERIFY2(result.done(), qPrintable(result.message));
    QStringList texts;
    for (const TradeRow &row : rows()) {
        QCOMPARE(row.lot, held.identity);
        texts.append(
            QStringLiteral("%1:%2:%3").arg(row.kind).arg(row.quantity).arg(Amount(row.amount)));
    }
    QCOMPARE(texts.join(u' '), booked);
    const HoldingLot now = lots()[0];
    QCOMPARE(Amount(now.price) + " " + QString::number(now.quantity), after);
    QCOMPARE(lots()[1], other);
    // The cost falls by the cash received, exactly as far as a double holds it.
    const double cashReceived = held.quantity * cash.toDouble() / 10;
    QVERIFY(qAbs(now.price * now.quantity - (held.price * held.quantity - cashReceived)) < 1e-9);
}

void TestJournal::undo_data() {
    QTest::addColumn<QString>("steps");  // s:price:quantity sells the first lot, a:cash:shares
    QTest::newRow("part sale") << "s:11:300";
    QTest::newRow("whole sale: the lot comes back") << "s:11:1000";
    QTest::newRow("adjustment of both lots") << "a:3.3:7";
    QTest::newRow("sale after adjustment, both") << "a:2:10 s:5.1:700";
}

void TestJournal::undo() {
    QFETCH(QString, steps);
    const HoldingLot first = store(LotOf("600000 10.37 1000"));
    const HoldingLot second = store(LotOf("600000 9.123 333"));
    QVERIFY(m_journal->buy(LotOf("600000 11 100")).done());  // booked, never undone
    const QList<HoldingLot> original = lots();
    const QList<TradeRow> originalRows = rows();
    const QStringList list = steps.split(u' ');
    for (const QString &step : list) {
        const QStringList t = step.split(u':');
        const TradeJournal::Result result =
            t[0] == "s" ? m_journal->sell(lots()[0], t[1], t[2], "2026-03-05")
                        : m_journal->adjust("600000", t[1], t[2], "2026-03-05");
        QVERIFY2(result.done(), qPrintable(result.message));
    }
    for (qsizetype i = 0; i < list.size(); ++i) {
        QVERIFY(m_journal->undo("600000").done());
    }
    QCOMPARE(lots(), original);
    QCOMPARE(rows(), originalRows);
    QVERIFY(!m_journal->undo("600000").done());  // a purchase is not undone
    QCOMPARE(lots(), original);
    Q_UNUSED(first);
    Q_UNUSED(second);
}

void TestJournal::conflict() {
    const HoldingLot held = store(LotOf("600000 10 1000"));
    HoldingLot changed = held;
    changed.quantity = 900;
    QVERIFY(storage::SaveLot(database(), held, changed));  // a second program
    TradeJournal::Result result = m_journal->sell(held, "11", "300", "2026-03-05");
    QCOMPARE(result.outcome, storage::Outcome::Conflict);
    QCOMPARE(lots(), QList<HoldingLot>{changed});
    QVERIFY(rows().isEmpty());
    // A lot changed after the sale is not overwritten by its undo.
    QVERIFY(m_journal->sell(changed, "11", "300", "2026-03-05").done());
    HoldingLot edited = lots()[0];
    edited.price = 10.5;
    QVERIFY(storage::SaveLot(database(), lots()[0], edited));
    result = m_journal->undo("600000");
    QVERIFY(!result.done());
    QCOMPARE(lots(), QList<HoldingLot>{edited});
    QCOMPARE(rows().size(), 1);
}

void TestJournal::refusals_data() {
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("day");
    QTest::addColumn<QString>("field");
    QTest::newRow("quantity above the lot") << "11"
                                            << "1001"
                                            << "2026-03-05"
                                            << "卖出数量";
    QTest::newRow("quantity zero") << "11"
                                   << "0"
                                   << "2026-03-05"
                                   << "卖出数量";
    QTest::newRow("quantity negative") << "11"
                                       << "-5"
                                       << "2026-03-05"
                                       << "卖出数量";
    QTest::newRow("quantity text") << "11"
                                   << "abc"
                                   << "2026-03-05"
                                   << "卖出数量";
    QTest::newRow("price negative") << "-11"
                                    << "100"
                                    << "2026-03-05"
                                    << "卖出价格";
    QTest::newRow("price zero") << "0"
                                << "100"
                                << "2026-03-05"
                                << "卖出价格";
    QTest::newRow("price exponent") << "1e1"
                                    << "100"
                                    << "2026-03-05"
                                    << "卖出价格";
    QTest::newRow("day not real") << "11"
                                  << "100"
                                  << "2026-02-30"
                                  << "日期";
    QTest::newRow("day text") << "11"
                              << "100"
                              << "yesterday"
                              << "日期";
}

void TestJournal::refusals() {
    QFETCH(QString, price);
    QFETCH(QString, quantity);
    QFETCH(QString, day);
    QFETCH(QString, field);
    const HoldingLot held = store(LotOf("600000 10 1000"));
    const TradeJournal::Result result = m_journal->sell(held, price, quantity, day);
    QVERIFY(!result.done());
    QVERIFY2(result.message.contains("［" + field + "］"), qPrintable(result.message));
    QCOMPARE(lots(), QList<HoldingLot>{held});
    QVERIFY(rows().isEmpty());
}

void TestJournal::olderFile() {
    const auto hasTrades = [this] {
        bool has = false;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "older");
            db.setDatabaseName(m_file);
            has = db.open() && db.tables().contains("TRADES");
        }
        QSqlDatabase::removeDatabase("older");
        return has;
    };
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "older");
        db.setDatabaseName(m_file);
        QVERIFY(db.open());
        QSqlQuery(db).exec("DROP TABLE TRADES");
        QVERIFY(!db.tables().contains("TRADES"));
    }
    QSqlDatabase::removeDatabase("older");
    QCOMPARE(storage::ReadTrades(database()), std::optional<QList<TradeRow>>(QList<TradeRow>{}));
    // At start it gains the table, empty, beside its lots.
    const HoldingLot held = store(LotOf("600000 10 1000"));
    m_journal->addTableIfMissing();
    QVERIFY(hasTrades());
    QVERIFY(rows().isEmpty());
    QCOMPARE(lots(), QList<HoldingLot>{held});
    QVERIFY(m_journal->sell(held, "11", "1000", "2026-03-05").done());
    QCOMPARE(rows().size(), 1);
}

void TestJournal::yearsOfTheJournal() {
    Sql(m_file, {"INSERT INTO TRADES (DAY, MID, KIND) VALUES ('2025-12-30', '600000', '卖出'), "
                 "('2026-01-05', '600000', '卖出'), ('', '600000', '卖出'), "
                 "('x', '600000', '卖出'), ('2026-03-01', '000001', '买入')"});
    // Latest first, once each; a day without a year gives none.
    QCOMPARE(storage::ReadTradeYears(database()), std::optional(QList<int>{2026, 2025}));
}

void TestJournal::csvText() {
    const QByteArray text = storage::CsvText(
        {{"日期", "名称"}, {"2026-03-05", "平安,银行"}, {"say \"hi\"", "a\nb"}, {"-1.5", ""}});
    QCOMPARE(text, QByteArray("\xEF\xBB\xBF"
                              "日期,名称\r\n"
                              "2026-03-05,\"平安,银行\"\r\n"
                              "\"say \"\"hi\"\"\",\"a\nb\"\r\n"
                              "-1.5,\r\n"));
}

void TestJournal::csvFailedWrite_data() {
    QTest::addColumn<bool>("fullDisk");  // else a read-only folder
    QTest::newRow("read-only folder") << false;
    QTest::newRow("room runs out half-way") << true;
}

void TestJournal::csvFailedWrite() {
    QFETCH(bool, fullDisk);
    const QString folder = m_dir->filePath("out");
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + "/交易记录-2026.csv";
    QVERIFY(storage::WriteCsv(path, {{"old"}}));
    const QList<QStringList> lines(200, QStringList{"2026-03-05", "600000", "12.5"});
    QString error;
    if (fullDisk) {
        // Files may grow to 1 KB only: the write stops part of the way through.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit before{};
        getrlimit(RLIMIT_FSIZE, &before);
        rlimit small = before;
        small.rlim_cur = 1024;
        setrlimit(RLIMIT_FSIZE, &small);
        const bool written = storage::WriteCsv(path, lines, &error);
        setrlimit(RLIMIT_FSIZE, &before);
        QVERIFY(!written);
    } else {
        ReadOnlyFolder readOnly(folder);
        QVERIFY2(readOnly.error().isEmpty(), qPrintable(readOnly.error()));
        QVERIFY(!storage::WriteCsv(path, lines, &error));
    }
    QVERIFY(!error.isEmpty());
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"交易记录-2026.csv"});
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), storage::CsvText({{"old"}}));
}

QTEST_GUILESS_MAIN(TestJournal)
#include "test_journal.moc"
