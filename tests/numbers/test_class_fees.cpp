// Fees by instrument class: what funds and bonds pay, their own commissions, and the
// break-even price found with the cost engine.

#include "numbers/break_even.h"
#include "numbers/cost_engine.h"
#include "numbers/number_syntax.h"

#include <QtTest>

using namespace numbers;

namespace {

// Today's rates: stamp tax 0 / 0.5 ‰, commission 0.25 ‰ with 5 yuan minimum, transfer fee
// 0.01 ‰ of the amount or the old 0.1 fen per Shanghai share.
FeeSchedule Today(bool onAmount) {
    return onAmount ? FeeSchedule{0, 0.5, 0.25, 0.25, 0.01, 0.01, 5, TransferBasis::PerAmount}
                    : FeeSchedule{0, 0.5, 0.25, 0.25, 0, 0.1, 5, TransferBasis::PerShare};
}

// "buy sell minimum", "-" for unset.
ClassCommission Commission(const QString &text) {
    const QStringList cells = text.split(u' ');
    const auto value = [&cells](int i) {
        return cells[i] == u"-" ? std::nullopt : std::optional(cells[i].toDouble());
    };
    return {value(0), value(1), value(2)};
}

// The class's own commission set to `own`, the other class's to rates no row expects, so a
// mix-up of the two shows.
FeeSchedule WithOwn(FeeSchedule fees, InstrumentClass instrument, const QString &own) {
    const ClassCommission wrong{9, 9, 99};
    fees.FundCommission = instrument == InstrumentClass::Fund ? Commission(own) : wrong;
    fees.BondCommission = instrument == InstrumentClass::Bond ? Commission(own) : wrong;
    return fees;
}

}  // namespace

class TestClassFees : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void breakEven_data();
    void breakEven();
    void classCommissionTexts_data();
    void classCommissionTexts();
    void classDecimals();
};

void TestClassFees::roundTrip_data() {
    QTest::addColumn<int>("instrument");
    QTest::addColumn<bool>("onAmount");
    QTest::addColumn<QString>("own");
    QTest::addColumn<double>("buy");
    QTest::addColumn<double>("sell");
    QTest::addColumn<int>("quantity");
    // stamp taxes, commissions, transfer, total, net; all on Shanghai
    QTest::addColumn<QString>("costs");
    // 400000 × 0.1‰ = 40, 401200 × 0.1‰ = 40.12; 1200 - 80.12
    QTest::newRow("fund own, on amount")
        << 1 << true << "0.1 0.1 0.2" << 4.0 << 4.012 << 100000 << "0 0 40 40.12 0 80.12 1119.88";
    // 4000 × 0.1‰ = 0.4 and 4012 × 0.1‰: the share's minimum 5 each; 12 - 10
    QTest::newRow("fund minimum, per share")
        << 1 << false << "0.1 0.1 -" << 4.0 << 4.012 << 1000 << "0 0 5 5 0 10 2";
    // buy at the share's 0.25‰: 100000 → 25; sell at its own 0.1‰: 110000 → 11; 10000 - 36
    QTest::newRow("fund sell rate only")
        << 1 << true << "- 0.1 0" << 1.0 << 1.1 << 100000 << "0 0 25 11 0 36 9964";
    // the share's 0.25‰ on 1183.5 and 1200 is below the minimum 5; 16.5 - 10
    QTest::newRow("bond share's commission, per share")
        << 2 << false << "- - -" << 118.35 << 120.0 << 10 << "0 0 5 5 0 10 6.5";
    // 1000000 × 0.05‰ = 50, 1015000 × 0.05‰ = 50.75; 15000 - 100.75
    QTest::newRow("bond own, on amount") << 2 << true << "0.05 0.05 1" << 100.0 << 101.5 << 10000
                                         << "0 0 50 50.75 0 100.75 14899.25";
    // a share ignores both: 10910 × 0.5‰ = 5.455 → 5.46; minimum 5 twice; 0.1 + 0.1091 → 0.21
    QTest::newRow("share untouched")
        << 0 << true << "0 0 0" << 10.0 << 10.91 << 1000 << "0 5.46 5 5 0.21 15.67 894.33";
}

void TestClassFees::roundTrip() {
    QFETCH(int, instrument);
    QFETCH(bool, onAmount);
    QFETCH(QString, own);
    QFETCH(double, buy);
    QFETCH(double, sell);
    QFETCH(int, quantity);
    QFETCH(QString, costs);
    const auto cls = static_cast<InstrumentClass>(instrument);
    const TradeCosts c = ComputeTradeCosts(buy, sell, quantity, Exchange::Shanghai,
                                           WithOwn(Today(onAmount), cls, own), cls);
    const QStringList shown{FormatAmount(c.BuyStampTax),   FormatAmount(c.SellStampTax),
                            FormatAmount(c.BuyCommission), FormatAmount(c.SellCommission),
                            FormatAmount(c.TransferFee),   FormatAmount(c.TotalFees),
                            FormatAmount(c.NetProfit)};
    QCOMPARE(shown.join(u' '), costs);
}

void TestClassFees::breakEven_data() {
    QTest::addColumn<int>("instrument");
    QTest::addColumn<int>("basis");  // 0 the old rates per share, 1 today's on the amount
    QTest::addColumn<QString>("own");
    QTest::addColumn<double>("buy");
    QTest::addColumn<int>("quantity");
    QTest::addColumn<QString>("price");  // "none" when nothing breaks even
    // 1011 - 1000 - (5 + 0.01 buy, 0.51 + 5 + 0.01 sell) = 0.47; at 10.10 it is -0.53
    QTest::newRow("share, minimum and transfer count") << 0 << 1 << "-" << 10.0 << 100 << "10.11";
    // 1000 × 10.08 - 10000 - (30 + 10.08 + 30.24) = 9.68; at 10.07 -0.28
    QTest::newRow("share, old rates") << 0 << 0 << "-" << 10.0 << 1000 << "10.08";
    // no stamp tax, no transfer: 100p - 1000 - 5 - 5 reaches 0 at 10.100 exactly
    QTest::newRow("fund, to the li") << 1 << 1 << "- - -" << 10.0 << 100 << "10.1";
    // 10p - 1000 - 0.1 - 0.1 reaches 0 at 100.020
    QTest::newRow("bond, own minimum") << 2 << 1 << "0.05 0.05 0.1" << 100.0 << 10 << "100.02";
    QTest::newRow("nothing held") << 0 << 1 << "-" << 10.0 << 0 << "none";
    QTest::newRow("sell rates take it all") << 1 << 1 << "- 1000 -" << 10.0 << 100 << "none";
}

void TestClassFees::breakEven() {
    QFETCH(int, instrument);
    QFETCH(int, basis);
    QFETCH(QString, own);
    QFETCH(double, buy);
    QFETCH(int, quantity);
    QFETCH(QString, price);
    const auto cls = static_cast<InstrumentClass>(instrument);
    const FeeSchedule fees = cls == InstrumentClass::Share
                                 ? (basis == 1 ? Today(true) : FeeSchedule{})
                                 : WithOwn(basis == 1 ? Today(true) : FeeSchedule{}, cls, own);
    const std::optional<double> found =
        BreakEvenPrice(buy, quantity, Exchange::Shenzhen, fees, cls);
    QCOMPARE(found ? FormatAmount(*found) : QStringLiteral("none"), price);
}

void TestClassFees::classCommissionTexts_data() {
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("read");  // fund then bond, "-" unset; or the message
    QTest::newRow("blank is the share's") << QStringList{"", " ", "", "", "", ""} << "- - - - - -";
    QTest::newRow("each in its place")
        << QStringList{"0.1", ".2", "0", "0.05", "", "1"} << "0.1 0.2 0 0.05 - 1";
    QTest::newRow("first bad one named")
        << QStringList{"0.1", "", "x", "y", "", ""}
        << QStringLiteral("［基金最低手续费］填写错误!请输入正确的金额.");
    QTest::newRow("bond sell") << QStringList{"", "", "", "", "1..", ""}
                               << QStringLiteral("［债券卖出手续费］填写错误!请输入正确的费率.");
}

void TestClassFees::classCommissionTexts() {
    QFETCH(QStringList, texts);
    QFETCH(QString, read);
    ClassCommissionTexts array;
    std::copy(texts.cbegin(), texts.cend(), array.begin());
    const FeeScheduleReading reading = ReadFeeSchedule(DefaultFeeTexts(), {}, array);
    if (!reading.schedule) {
        QCOMPARE(reading.error, read);
        return;
    }
    const ClassCommissionTexts back =
        ClassCommissionTextsOf(reading.schedule->FundCommission, reading.schedule->BondCommission);
    QStringList shown;
    for (const QString &text : back) {
        shown.append(text.isEmpty() ? QStringLiteral("-") : text);
    }
    QCOMPARE(shown.join(u' '), read);
}

void TestClassFees::classDecimals() {
    QCOMPARE(QuoteDecimals(InstrumentClass::Share), 2);
    QCOMPARE(QuoteDecimals(InstrumentClass::Fund), 3);
    QCOMPARE(QuoteDecimals(InstrumentClass::Bond), 3);
    QCOMPARE(
        ClassName(ClassFromIndex(1)) + ClassName(ClassFromIndex(2)) + ClassName(ClassFromIndex(7)),
        QStringLiteral("基金债券股票"));
}

QTEST_GUILESS_MAIN(TestClassFees)
#include "test_class_fees.moc"
