// The live holdings figures: positions from the lots, their value and net profit at a quote.

#include "holdings/live_figures.h"

#include <QtTest>

namespace {

// "code price quantity;code price quantity;..." as stored lots.
storage::LotsRead Lots(const QString &text, qsizetype unreadable = 0) {
    storage::LotsRead read{{}, unreadable};
    for (const QString &lot : text.split(u';', Qt::SkipEmptyParts)) {
        const QStringList cells = lot.split(u' ');
        read.lots.append({read.lots.size() + 1, cells[0], cells[1].toDouble(), cells[2].toInt()});
    }
    return read;
}

// Today's rules: stamp tax on the sell only, a broker's 0.25 ‰ with a minimum of 5 yuan, and
// 0.01 of each transfer unit.
const numbers::FeeTexts kToday = {"0", "0.5", "0.25", "0.25", "0.01", "0.01", "5"};

QString Shown(const holdings::LiveRow &row) {
    return QStringList{row.code,      row.quantityText, row.averageText, row.priceText,
                       row.valueText, row.profitText,   row.percentText}
        .join(u' ');
}

}  // namespace

class TestLiveFigures : public QObject {
    Q_OBJECT
private slots:
    void positions();
    void row_data();
    void row();
    void totalsAndStatus();
    void readingsKeepTheLastQuote();
};

void TestLiveFigures::positions() {
    // Code order, every lot of a code, a code that sums to 0 left out, a code whose sums
    // cannot be formed counted with the unreadable lots.
    const holdings::PositionList list = holdings::PositionsOf(
        Lots("600000 12 500;000001 5 100;600000 10 1000;000002 3 100;000002 4 -100;"
             "300001 1 2147483647;300001 1 1",
             2));
    QStringList shown;
    for (const holdings::Position &position : list.positions) {
        shown.append(position.code + u' ' + QString::number(position.quantity) + u' ' +
                     position.averageText);
    }
    QCOMPARE(shown, (QStringList{"000001 100 5", "600000 1500 10.667"}));
    QCOMPARE(list.unreadable, 4);
}

void TestLiveFigures::row_data() {
    QTest::addColumn<QString>("lots");
    QTest::addColumn<QString>("price");
    QTest::addColumn<bool>("today");
    QTest::addColumn<bool>("perAmount");
    QTest::addColumn<QString>("shown");  // code quantity average price value profit percent
    QTest::addColumn<int>("sign");

    // 16000.5 bought; fees 16.50 + 48.00 + 49.50, plus 1.50 transfer in Shanghai only.
    QTest::newRow("several lots, Shanghai")
        << "600000 10 1000;600000 12 500"
        << "11.000" << false << false << "600000 1500 10.667 11.000 16500 384 +2.40%" << 1;
    QTest::newRow("same lots, Shenzhen")
        << "000001 10 1000;000001 12 500"
        << "11.00" << false << false << "000001 1500 10.667 11.000 16500 385.5 +2.41%" << 1;
    QTest::newRow("Beijing takes the Shenzhen rates")
        << "830799 10 1000;830799 12 500"
        << "11" << false << false << "830799 1500 10.667 11.000 16500 385.5 +2.41%" << 1;
    QTest::newRow("minimum commission on both sides")
        << "000002 5 100"
        << "5.5" << false << false << "000002 100 5 5.500 550 39.45 +7.89%" << 1;
    // 19.20 stamp tax, 10.00 + 9.60 commission; transfer 0.40 + 0.38 on the amounts.
    QTest::newRow("loss, transfer on the amount")
        << "600036 40 1000"
        << "38.4" << true << true << "600036 1000 40 38.400 38400 -1639.58 -4.10%" << -1;
    QTest::newRow("loss, transfer per share")
        << "600036 40 1000"
        << "38.4" << true << false << "600036 1000 40 38.400 38400 -1638.9 -4.10%" << -1;
    QTest::newRow("no price") << "000001 5 100"
                              << "" << false << false << "000001 100 5  — — —" << 0;
    QTest::newRow("a price of 0 is no price")
        << "000001 5 100"
        << "0.000" << false << false << "000001 100 5  — — —" << 0;
    QTest::newRow("not a plain decimal") << "000001 5 100"
                                         << "1e1" << false << false << "000001 100 5  — — —" << 0;
    QTest::newRow("beyond the engine's range")
        << "000001 1 2000000000"
        << "999999999" << false << false << "000001 2000000000 1 999999999.000 — — —" << 0;
}

void TestLiveFigures::row() {
    QFETCH(QString, lots);
    QFETCH(QString, price);
    QFETCH(bool, today);
    QFETCH(bool, perAmount);
    const auto basis =
        perAmount ? numbers::TransferBasis::PerAmount : numbers::TransferBasis::PerShare;
    const auto fees =
        numbers::ReadFeeSchedule(today ? kToday : numbers::DefaultFeeTexts(), basis).schedule;
    const holdings::PositionList list = holdings::PositionsOf(Lots(lots));
    QCOMPARE(list.positions.size(), 1);
    const holdings::LiveRow row = holdings::LiveRowOf(list.positions[0], price, "名", fees);
    QTEST(Shown(row), "shown");
    QTEST(row.sign, "sign");
}

void TestLiveFigures::totalsAndStatus() {
    const auto fees = numbers::ReadFeeSchedule(numbers::DefaultFeeTexts()).schedule;
    const holdings::PositionList list =
        holdings::PositionsOf(Lots("600000 10 1000;600000 12 500;000002 5 100;000003 1 100"));
    const QList<holdings::LiveRow> rows = {holdings::LiveRowOf(list.positions[0], "5.5", {}, fees),
                                           holdings::LiveRowOf(list.positions[1], {}, {}, fees),
                                           holdings::LiveRowOf(list.positions[2], "11", {}, fees)};
    const holdings::LiveTotals totals = holdings::TotalsOf(rows);
    QCOMPARE(totals.text, QStringLiteral("总市值 17050    总浮动盈亏 423.45    1只股票无报价"));
    QCOMPARE(totals.sign, 1);
    // Without a fee schedule the profit total is unknown, never the sum of the others.
    const QList<holdings::LiveRow> feeless = {
        holdings::LiveRowOf(list.positions[0], "5.5", {}, std::nullopt)};
    QCOMPARE(holdings::TotalsOf(feeless).text, QStringLiteral("总市值 550    总浮动盈亏 —"));

    quotes::FeedState closed;
    closed.closed = true;
    const monitor::ReadingStatus status =
        holdings::LiveStatus(closed, 0, 3, QTime(15, 1, 2), 2, {});
    QCOMPARE(
        status.text,
        QStringLiteral("休市  行情来源: 新浪  价格更新于 15:01:02  2条持仓记录无法读取,未计入"));
    QVERIFY(status.problem);
    QCOMPARE(holdings::LiveStatus(std::nullopt, 0, 3, {}, 0, {}).text, QString());
}

void TestLiveFigures::readingsKeepTheLastQuote() {
    holdings::LiveHoldings live;
    live.SetLots(Lots("600000 10 100;000001 5 100"));
    QCOMPARE(live.codes(), (QStringList{"000001", "600000"}));
    quotes::FeedReading first;
    first.quotes.insert("600000", quotes::QuoteDetail{"11.000", {}, {}, "\u202E浦发\a银行 "});
    first.quotes.insert("000001", quotes::QuoteDetail{"", {}, {}, ""});  // unknown to the service
    QCOMPARE(live.Apply(first), 0);
    quotes::FeedReading second;  // brought nothing
    second.quotes.insert("600000", std::nullopt);
    QCOMPARE(live.Apply(second), 2);
    const QList<holdings::LiveRow> rows = live.Rows(std::nullopt);
    QCOMPARE(rows[0].priceText, QString());
    QCOMPARE(rows[1].priceText + rows[1].name, QStringLiteral("11.000浦发银行"));
    // A code no longer held forgets its quote.
    live.SetLots(Lots("000001 5 100"));
    live.SetLots(Lots("600000 10 100"));
    QCOMPARE(live.Rows(std::nullopt)[0].priceText, QString());
}

QTEST_GUILESS_MAIN(TestLiveFigures)
#include "test_live_figures.moc"
