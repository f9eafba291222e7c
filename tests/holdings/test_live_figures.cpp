// The live holdings figures: positions from the lots, their value and net profit at a quote.

#include "holdings/live_figures.h"

#include <QtTest>

namespace {

// "code price quantity;code price quantity;..." as stored lots.
QList<storage::HoldingLot> Lots(const QString &text) {
    QList<storage::HoldingLot> lots;
    for (const QString &lot : text.split(u';', Qt::SkipEmptyParts)) {
        const QStringList cells = lot.split(u' ');
        lots.append({lots.size() + 1, cells[0], cells[1].toDouble(), cells[2].toInt()});
    }
    return lots;
}

// The fees of a row: the defaults, or today's rules (stamp tax on the sell only, a broker's
// 0.25 ‰ with a minimum of 5 yuan, 0.01 of each transfer unit) per share or on the amount.
std::optional<numbers::FeeSchedule> Fees(const QString &name) {
    const numbers::FeeTexts today = {"0", "0.5", "0.25", "0.25", "0.01", "0.01", "5"};
    return numbers::ReadFeeSchedule(name == u"old" ? numbers::DefaultFeeTexts() : today,
                                    name == u"amount" ? numbers::TransferBasis::PerAmount
                                                      : numbers::TransferBasis::PerShare)
        .schedule;
}

}  // namespace

class TestLiveFigures : public QObject {
    Q_OBJECT
private slots:
    void row_data();
    void row();
    void classRow_data();
    void classRow();
    void totalWithoutFees();
};

void TestLiveFigures::row_data() {
    // lots|price|fees|code quantity average price value profit percent sign; nothing when no
    // position is held.
    QTest::addColumn<QString>("line");
    // 16000.5 bought; fees 16.50 + 48.00 + 49.50, and 1.50 transfer in Shanghai only.
    QTest::newRow("several lots, Shanghai") << "600000 12 500;600000 10 1000|11.000|old|600000 "
                                               "1500 10.667 11.00 16500.00 384.00 +2.40% 1";
    QTest::newRow("Shenzhen") << "000001 10 1000;000001 12 500|11.00|old|000001 1500 10.667 11.00 "
                                 "16500.00 385.50 +2.41% 1";
    QTest::newRow("Beijing takes the Shenzhen rates")
        << "830799 10 1000;830799 12 500|11|old|830799 1500 10.667 11.00 16500.00 385.50 +2.41% 1";
    QTest::newRow("minimum commission on both sides")
        << "000002 5 100|5.5|old|000002 100 5 5.50 550.00 39.45 +7.89% 1";
    // 19.20 stamp tax, 10.00 + 9.60 commission; transfer 0.40 + 0.38 on the amounts.
    QTest::newRow("loss, transfer on the amount")
        << "600036 40 1000|38.4|amount|600036 1000 40 38.40 38400.00 -1639.58 -4.10% -1";
    QTest::newRow("loss, transfer per share")
        << "600036 40 1000|38.4|share|600036 1000 40 38.40 38400.00 -1638.90 -4.10% -1";
    // 45.45 on a cost of 1000 is 4.545 %: half up, whichever way the doubles fall.
    QTest::newRow("percent half up")
        << "000002 5 200|5.28|share|000002 200 5 5.28 1056.00 45.45 +4.55% 1";
    QTest::newRow("negative percent half up")
        << "600000 5 200|4.29|share|600000 200 5 4.29 858.00 -152.45 -15.25% -1";
    // 1000050000500.025 exactly: more digits than a double keeps, still within range.
    QTest::newRow("value exact to the fen")
        << "000001 500 2000000001|500.025|share|000001 2000000001 500 500.025 1000050000500.03 "
           "-950237500.49 -0.10% -1";
    QTest::newRow("no price") << "000001 5 100||old|000001 100 5  — — — 0";
    QTest::newRow("a price of 0 is no price") << "000001 5 100|0.000|old|000001 100 5  — — — 0";
    QTest::newRow("beyond the engine's range")
        << "000001 1 2000000000|999999999|old|000001 2000000000 1 999999999.00 — — — 0";
    QTest::newRow("sold down to nothing or less")
        << "000002 3 100;000002 4 -100;000003 3 100;000003 4 -200|5|old|";
    QTest::newRow("sums beyond 32 bits") << "300001 1 2147483647;300001 1 1|5|old|";
}

void TestLiveFigures::row() {
    QFETCH(QString, line);
    const QStringList parts = line.split(u'|');
    const holdings::PositionList list = holdings::PositionsOf(Lots(parts[0]));
    QStringList shown;
    for (const holdings::Position &position : list.positions) {
        const holdings::LiveRow row = holdings::LiveRowOf(position, parts[1], {}, Fees(parts[2]));
        shown.append(QStringList{row.code, row.quantityText, row.averageText, row.priceText,
                                 row.valueText, row.profitText, row.percentText,
                                 QString::number(row.sign)}
                         .join(u' '));
    }
    QCOMPARE(shown.join(u';'), parts[3]);
}

void TestLiveFigures::classRow_data() {
    // lots|price|own bond commission|code class quantity average break-even price value profit
    // percent, at today's rates on the amount; funds and bonds pay neither stamp tax nor
    // transfer fee.
    QTest::addColumn<QString>("line");
    // 10 + 10.03 commission: 120 - 20.03; nets 9.99 at 4.003 (10 + 10.01), -0.01 at 4.002
    QTest::newRow("fund") << "510300 4 10000|4.012||510300 基金 10000 4 4.003 4.012 40120.00 99.97 "
                             "+0.25%";
    // the minimum 5 on both sides: 183.5 - 10; 10p - 1010 reaches 0 at 101
    QTest::newRow("bond") << "113052 100 10|118.35||113052 债券 10 100 101.000 118.350 1183.50 "
                             "173.50 +17.35%";
    // its own 0.05 ‰ with 0.1 minimum on both sides: 183.5 - 0.2; 10p - 1000.2 at 100.02
    QTest::newRow("bond at its own commission")
        << "123015 100 10|118.35|0.05 0.05 0.1|123015 债券 10 100 100.020 118.350 1183.50 183.30 "
           "+18.33%";
    // a share beside them: 0.5 ‰ stamp tax and the transfer fee as before
    QTest::newRow("share") << "600000 10 100|10.2|0.05 0.05 0.1|600000 股票 100 10 10.11 10.20 "
                              "1020.00 9.47 +0.95%";
}

void TestLiveFigures::classRow() {
    QFETCH(QString, line);
    const QStringList parts = line.split(u'|');
    std::optional<numbers::FeeSchedule> fees = Fees("amount");
    if (!parts[2].isEmpty()) {
        const QStringList own = parts[2].split(u' ');
        fees->BondCommission = {own[0].toDouble(), own[1].toDouble(), own[2].toDouble()};
    }
    const holdings::LiveRow row = holdings::LiveRowOf(
        holdings::PositionsOf(Lots(parts[0])).positions.front(), parts[1], {}, fees);
    QCOMPARE(
        QStringList({row.code, row.classText, row.quantityText, row.averageText, row.breakEvenText,
                     row.priceText, row.valueText, row.profitText, row.percentText})
            .join(u' '),
        parts[3]);
}

void TestLiveFigures::totalWithoutFees() {
    // Without a fee schedule the profit total is unknown, never the sum of the others.
    const holdings::PositionList list = holdings::PositionsOf(Lots("000002 5 100"));
    const holdings::LiveRow row = holdings::LiveRowOf(list.positions[0], "5.5", {}, std::nullopt);
    QCOMPARE(holdings::TotalsOf({row}).text, QStringLiteral("总市值 550.00    总浮动盈亏 —"));
}

QTEST_GUILESS_MAIN(TestLiveFigures)
#include "test_live_figures.moc"
