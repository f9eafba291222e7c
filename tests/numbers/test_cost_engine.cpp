// The cost engine: fees of a round trip, rounding, the amount format and the number syntax.

#include "numbers/cost_engine.h"
#include "numbers/money.h"
#include "numbers/number_syntax.h"

#include <QtTest>

#include <cmath>
#include <limits>

using namespace numbers;
using numbers::AmountOutOfRange;
using numbers::AmountOutOfRangeMessage;
using numbers::DefaultFeeTexts;
using numbers::FeeFieldMessages;
using numbers::FeeSchedule;
using numbers::FeeScheduleReading;
using numbers::FeeTexts;
using numbers::FormatAmount;
using numbers::NormaliseDecimalText;
using numbers::ParseDecimal;
using numbers::ParseWholeNumber;
using numbers::ReadFeeSchedule;
using numbers::RoundToFen;
using numbers::RoundToLi;
using numbers::TransferBasis;

namespace {

QStringList Texts(const TradeCosts &c) {
    return {FormatAmount(c.BuyStampTax),   FormatAmount(c.SellStampTax),
            FormatAmount(c.BuyCommission), FormatAmount(c.SellCommission),
            FormatAmount(c.TransferFee),   FormatAmount(c.TotalFees),
            FormatAmount(c.NetProfit)};
}

TradeRequest Request(const QString &buy, const QString &sell, const QString &quantity) {
    return {buy, sell, quantity, Exchange::Shenzhen, numbers::ReadFeeSchedule(DefaultFeeTexts())};
}

}  // namespace

class TestCostEngine : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void transferOnTheAmount_data();
    void transferOnTheAmount();
    void eachFeeIsRoundedBeforeTheTotal();
    void minimumAppliesToCommissionsOnly();
    void minimumComparedBeforeRounding();
    void amountsBeyondDoublePrecisionKeepTheirFen();
    void rounding_data();
    void rounding();
    void roundingRefusesWhatItCannotHold_data();
    void roundingRefusesWhatItCannotHold();
    void formatAmount_data();
    void formatAmount();
    void parseDecimal_data();
    void parseDecimal();
    void parseWholeNumber_data();
    void parseWholeNumber();
    void normalise_data();
    void normalise();
    void feeScheduleFailsAtTheFirstBadText_data();
    void feeScheduleFailsAtTheFirstBadText();
    void validationOrder_data();
    void validationOrder();
    void validationWritesBackOnlyWhatItReached();
    void bothTransferRatesAreValidatedWhateverTheExchange();
    void hugeInputIsRefusedNotUndefined();
    void exchangeIndex();
};

void TestCostEngine::roundTrip_data() {
    QTest::addColumn<double>("buy");
    QTest::addColumn<double>("sell");
    QTest::addColumn<int>("quantity");
    QTest::addColumn<bool>("shanghai");
    QTest::addColumn<QStringList>("expected");  // five fees, total, net profit

    QTest::newRow("shenzhen 10 -> 11 x 1000")
        << 10.0 << 11.0 << 1000 << false << QStringList{"0", "11", "30", "33", "0", "74", "926"};
    QTest::newRow("shanghai adds transfer fee")
        << 10.0 << 11.0 << 1000 << true << QStringList{"0", "11", "30", "33", "1", "75", "925"};
    QTest::newRow("both commissions raised to minimum")
        << 10.0 << 10.2 << 100 << true
        << QStringList{"0", "1.02", "5", "5", "0.1", "11.12", "8.88"};
    QTest::newRow("stamp tax 2.997 shows 3")
        << 8.88 << 9.99 << 300 << true
        << QStringList{"0", "3", "7.99", "8.99", "0.3", "20.28", "312.72"};
    QTest::newRow("quantity 0 pays two minimums")
        << 12.34 << 56.78 << 0 << true << QStringList{"0", "0", "5", "5", "0", "10", "-10"};
    QTest::newRow("loss is negative")
        << 11.0 << 10.0 << 1000 << false << QStringList{"0", "10", "33", "30", "0", "73", "-1073"};
    QTest::newRow("negative quantity stays exact")
        << 10.0 << 11.0 << -1000 << false << QStringList{"0", "-11", "5", "5", "0", "-1", "-999"};
}

void TestCostEngine::roundTrip() {
    QFETCH(double, buy);
    QFETCH(double, sell);
    QFETCH(int, quantity);
    QFETCH(bool, shanghai);
    QFETCH(QStringList, expected);
    const TradeCosts costs = ComputeTradeCosts(
        buy, sell, quantity, shanghai ? Exchange::Shanghai : Exchange::Shenzhen, FeeSchedule{});
    QCOMPARE(Texts(costs), expected);
}

void TestCostEngine::transferOnTheAmount_data() {
    QTest::addColumn<double>("buy");
    QTest::addColumn<double>("sell");
    QTest::addColumn<int>("quantity");
    QTest::addColumn<bool>("shanghai");
    QTest::addColumn<QStringList>("expected");  // five fees, total, net profit
    QTest::newRow("today's Shanghai rates")
        << 10.0 << 11.0 << 1000 << true
        << QStringList{"0", "5.5", "5", "5", "0.21", "15.71", "984.29"};
    QTest::newRow("Shenzhen takes its own rate")
        << 10.0 << 11.0 << 1000 << false
        << QStringList{"0", "5.5", "5", "5", "0.42", "15.92", "984.08"};
    // 0.006 a side: each rounds up to 0.01 before the two add (0.012 would give 0.01).
    QTest::newRow("each side rounded on its own")
        << 6.0 << 6.0 << 100 << true
        << QStringList{"0", "0.3", "5", "5", "0.02", "10.32", "-10.32"};
    // Half a fen goes up, as on the statement, though the doubles lie just below the half.
    QTest::newRow("stamp tax 5.455 goes up")
        << 11.0 << 10.91 << 1000 << true
        << QStringList{"0", "5.46", "5", "5", "0.22", "15.68", "-105.68"};
    QTest::newRow("commission 63.425 goes up")
        << 25.37 << 25.37 << 10000 << true
        << QStringList{"0", "126.85", "63.43", "63.43", "5.08", "258.79", "-258.79"};
}

void TestCostEngine::transferOnTheAmount() {
    QFETCH(double, buy);
    QFETCH(double, sell);
    QFETCH(int, quantity);
    QFETCH(bool, shanghai);
    QFETCH(QStringList, expected);
    const FeeSchedule fees{0, 0.5, 0.25, 0.25, 0.02, 0.01, 5, TransferBasis::PerAmount};
    QCOMPARE(Texts(ComputeTradeCosts(buy, sell, quantity,
                                     shanghai ? Exchange::Shanghai : Exchange::Shenzhen, fees)),
             expected);
}

void TestCostEngine::eachFeeIsRoundedBeforeTheTotal() {
    // Three fees of 0.004 each: rounded one by one they are 0; summed first they would be 0.01.
    FeeSchedule fees{0.004, 0.004, 0, 0, 0.0004, 0, 0};
    const TradeCosts costs = ComputeTradeCosts(1, 1, 1000, Exchange::Shenzhen, fees);
    QCOMPARE(costs.BuyStampTax, 0.0);
    QCOMPARE(costs.TransferFee, 0.0);
    QCOMPARE(FormatAmount(costs.TotalFees), QStringLiteral("0"));
    // Three fees of 0.006 each: 0.01 apiece, 0.03 in all (0.018 would round to 0.02).
    fees = FeeSchedule{0.006, 0.006, 0, 0, 0.0006, 0, 0};
    QCOMPARE(FormatAmount(ComputeTradeCosts(1, 1, 1000, Exchange::Shenzhen, fees).TotalFees),
             QStringLiteral("0.03"));
}

void TestCostEngine::minimumAppliesToCommissionsOnly() {
    const FeeSchedule fees{0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 100};
    const TradeCosts costs = ComputeTradeCosts(10, 10, 100, Exchange::Shanghai, fees);
    QCOMPARE(Texts(costs), (QStringList{"0.1", "0.1", "100", "100", "0.1", "200.3", "-200.3"}));
}

void TestCostEngine::minimumComparedBeforeRounding() {
    // 4.996 is below a minimum of 5 and is raised; rounding first would give 5 anyway, but
    // 5.004 against a minimum of 5.001 shows the comparison uses the unrounded value.
    const FeeSchedule fees{0, 0, 1, 1, 0, 0, 5.001};
    const TradeCosts costs = ComputeTradeCosts(5.004, 5.004, 1000, Exchange::Shenzhen, fees);
    QCOMPARE(FormatAmount(costs.BuyCommission), QStringLiteral("5"));
}

void TestCostEngine::amountsBeyondDoublePrecisionKeepTheirFen() {
    // Amounts near 2.65e15 yuan have no fen in a double; the profit is still 0.01 a share.
    const FeeSchedule none{0, 0, 0, 0, 0, 0, 0};
    const TradeCosts costs =
        ComputeTradeCosts(1234567.89, 1234567.9, INT32_MAX, Exchange::Shenzhen, none);
    QCOMPARE(FormatAmount(costs.NetProfit), QStringLiteral("21474836.47"));
}

void TestCostEngine::rounding_data() {
    QTest::addColumn<bool>("li");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("fen 0.125 half goes up") << false << 0.125 << "0.13";
    QTest::newRow("fen 0.375") << false << 0.375 << "0.38";
    QTest::newRow("fen 0.025") << false << 0.025 << "0.03";
    QTest::newRow("fen 0.135") << false << 0.135 << "0.14";
    QTest::newRow("fen 1.005 double below the half") << false << 1.005 << "1.01";
    QTest::newRow("fen 2.675") << false << 2.675 << "2.68";
    QTest::newRow("fen 5.455") << false << 10910 * 0.0005 << "5.46";
    QTest::newRow("fen just under the half") << false << 5.4549999 << "5.45";
    QTest::newRow("fen negative half away from zero") << false << -2.675 << "-2.68";
    QTest::newRow("fen tiny negative is zero") << false << -0.001 << "0";
    QTest::newRow("fen large amount keeps its fen") << false << 1020000.755 << "1020000.76";
    QTest::newRow("li 10.0702811") << true << 10.0702811 << "10.07";
    QTest::newRow("li 12.0843373") << true << 12.0843373 << "12.084";
    QTest::newRow("li 8.1405622") << true << 8.1405622 << "8.141";
    QTest::newRow("li 10.0015 half goes up") << true << 10.0015 << "10.002";
    QTest::newRow("li below 10^-38 of a li") << true << 1e-300 << "0";
}

void TestCostEngine::rounding() {
    QFETCH(bool, li);
    QFETCH(double, value);
    QFETCH(QString, expected);
    const double rounded = li ? RoundToLi(value) : RoundToFen(value);
    QCOMPARE(FormatAmount(rounded), expected);
    QVERIFY(!std::signbit(rounded) || rounded != 0);
}

void TestCostEngine::roundingRefusesWhatItCannotHold_data() {
    QTest::addColumn<double>("value");
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity();
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("2^63 fen") << 92233720368547758.08;
    QTest::newRow("-1e300") << -1e300;
}

void TestCostEngine::roundingRefusesWhatItCannotHold() {
    QFETCH(double, value);
    QVERIFY_THROWS_EXCEPTION(AmountOutOfRange, RoundToFen(value));
    QVERIFY_THROWS_EXCEPTION(AmountOutOfRange, RoundToLi(value));
}

void TestCostEngine::formatAmount_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("whole") << 74.0 << "74";
    QTest::newRow("trailing zero dropped") << 8.80 << "8.8";
    QTest::newRow("negative") << -10.0 << "-10";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("sum noise cut at 15 digits") << 0.1 + 0.2 << "0.3";
    QTest::newRow("third") << 1.0 / 3 << "0.333333333333333";
    QTest::newRow("smallest fixed") << 0.0001 << "0.0001";
    QTest::newRow("below fixed") << 0.00005 << "5E-5";
    QTest::newRow("negative small") << -0.0000123 << "-1.23E-5";
    QTest::newRow("largest fixed") << 999999999999999.0 << "999999999999999";
    QTest::newRow("rounds up into exponent") << 999999999999999.9 << "1E15";
    QTest::newRow("10^15") << 1e15 << "1E15";
    QTest::newRow("big with digits") << 1.5e20 << "1.5E20";
    QTest::newRow("15 significant digits") << 123456789.123456789 << "123456789.123457";
    QTest::newRow("no grouping") << 1234567.0 << "1234567";
}

void TestCostEngine::formatAmount() {
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(FormatAmount(value), expected);
}

void TestCostEngine::parseDecimal_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("value");
    QTest::newRow("plain") << "12.5" << true << 12.5;
    QTest::newRow("lone point") << "." << true << 0.0;
    QTest::newRow("leading point") << ".5" << true << 0.5;
    QTest::newRow("trailing point") << "5." << true << 5.0;
    QTest::newRow("signs") << "-3" << true << -3.0;
    QTest::newRow("plus") << "+3" << true << 3.0;
    QTest::newRow("blanks around") << "  7.25  " << true << 7.25;
    QTest::newRow("exponent") << "1.5e3" << true << 1500.0;
    QTest::newRow("exponent sign") << "25E-1" << true << 2.5;
    QTest::newRow("point and exponent") << ".e2" << true << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("blank") << " " << false << 0.0;
    QTest::newRow("lone sign") << "-" << false << 0.0;
    QTest::newRow("two points") << "1.2.3" << false << 0.0;
    QTest::newRow("exponent without digits") << "1e" << false << 0.0;
    QTest::newRow("exponent alone") << "e5" << false << 0.0;
    QTest::newRow("nan") << "nan" << false << 0.0;
    QTest::newRow("inf") << "inf" << false << 0.0;
    QTest::newRow("hex") << "0x10" << false << 0.0;
    QTest::newRow("grouping") << "1,000" << false << 0.0;
    QTest::newRow("comma decimal") << "1,5" << false << 0.0;
    QTest::newRow("inner blank") << "1 5" << false << 0.0;
    QTest::newRow("full-width digit") << "１" << false << 0.0;
    QTest::newRow("tab") << "\t1" << false << 0.0;
    QTest::newRow("shows as the largest") << "999999999999999.9" << true << 999999999999999.875;
    QTest::newRow("largest accepted") << "1E15" << true << 1e15;
    QTest::newRow("largest negative") << "-1000000000000000" << true << -1e15;
    QTest::newRow("just beyond") << "1.00000000000001e15" << false << 0.0;
    QTest::newRow("largest double") << "1.7976931348623157e308" << false << 0.0;
    QTest::newRow("overflow") << "1e400" << false << 0.0;
    QTest::newRow("many digits overflow") << ("1" + QString(400, u'0') + "e-10") << false << 0.0;
    QTest::newRow("underflow to zero") << "1e-400" << true << 0.0;
    QTest::newRow("negative underflow") << "-0.0001e-330" << true << 0.0;
    QTest::newRow("huge negative exponent") << "7e-99999999999999999999" << true << 0.0;
}

void TestCostEngine::parseDecimal() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(double, value);
    const std::optional<double> parsed = ParseDecimal(text);
    QCOMPARE(parsed.has_value(), valid);
    if (valid) {
        QCOMPARE(*parsed, value);
        // What is accepted is shown and stored as its amount text, which must read back.
        QVERIFY(ParseDecimal(FormatAmount(*parsed)));
    }
}

void TestCostEngine::parseWholeNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << "100" << true << 100;
    QTest::newRow("signed") << "-500" << true << -500;
    QTest::newRow("plus") << "+7" << true << 7;
    QTest::newRow("leading zeros") << "0010" << true << 10;
    QTest::newRow("max") << "2147483647" << true << INT32_MAX;
    QTest::newRow("min") << "-2147483648" << true << INT32_MIN;
    QTest::newRow("above max") << "2147483648" << false << 0;
    QTest::newRow("below min") << "-2147483649" << false << 0;
    QTest::newRow("far beyond") << "99999999999999999999" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("lone sign") << "-" << false << 0;
    QTest::newRow("hex") << "0x10" << false << 0;
    QTest::newRow("dollar hex") << "$10" << false << 0;
    QTest::newRow("decimal") << "1.0" << false << 0;
    QTest::newRow("grouping") << "1,000" << false << 0;
    QTest::newRow("blank") << " 1" << false << 0;
}

void TestCostEngine::parseWholeNumber() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, value);
    const std::optional<int32_t> parsed = ParseWholeNumber(text);
    QCOMPARE(parsed.has_value(), valid);
    if (valid) {
        QCOMPARE(*parsed, value);
    }
}

void TestCostEngine::normalise_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("lone point") << "."
                                << "0.0";
    QTest::newRow("leading") << ".5"
                             << "0.5";
    QTest::newRow("trailing") << "5."
                              << "5.0";
    QTest::newRow("unchanged") << "12.5"
                               << "12.5";
    QTest::newRow("others left alone") << " -.5"
                                       << " -.5";
}

void TestCostEngine::normalise() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(NormaliseDecimalText(text), expected);
}

void TestCostEngine::feeScheduleFailsAtTheFirstBadText_data() {
    QTest::addColumn<int>("bad");
    QTest::addColumn<QString>("message");
    const QStringList messages = {
        "［购入交印花税］填写错误!请输入正确的税率.", "［卖出交印花税］填写错误!请输入正确的税率.",
        "［购入交手续费］填写错误!请输入正确的费率.", "［卖出交手续费］填写错误!请输入正确的费率.",
        "［深市过户费］填写错误!请输入正确的费率.",   "［泸市过户费］填写错误!请输入正确的费率.",
        "［最低手续费］填写错误!请输入正确的金额."};
    for (int i = 0; i < 7; ++i) {
        QTest::addRow("field %d", i) << i << messages[i];
    }
}

void TestCostEngine::feeScheduleFailsAtTheFirstBadText() {
    QFETCH(int, bad);
    QFETCH(QString, message);
    FeeTexts texts = DefaultFeeTexts();
    // Every field after the bad one is bad too: only the first is named.
    for (size_t i = static_cast<size_t>(bad); i < texts.size(); ++i) {
        texts[i] = i == static_cast<size_t>(bad) ? QString() : QStringLiteral("x");
    }
    const FeeScheduleReading reading = ReadFeeSchedule(texts);
    QVERIFY(!reading.schedule);
    QCOMPARE(reading.error, message);
}

void TestCostEngine::validationOrder_data() {
    QTest::addColumn<QString>("buy");
    QTest::addColumn<QString>("sell");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("fee");  // the Shanghai transfer text
    QTest::addColumn<QString>("message");
    QTest::newRow("buy first") << "x"
                               << "y"
                               << "z"
                               << "w"
                               << "［买入价格］填写错误!请输入正确的金额.";
    QTest::newRow("then sell") << "10"
                               << ""
                               << "z"
                               << "w"
                               << "［卖出价格］填写错误!请输入正确的金额.";
    QTest::newRow("then quantity") << "10"
                                   << "11"
                                   << "1.5"
                                   << "w"
                                   << "［股票数量］填写错误!请输入正确的数字.";
    QTest::newRow("quantity beyond 32 bits") << "10"
                                             << "11"
                                             << "3000000000"
                                             << "0.1"
                                             << "［股票数量］填写错误!请输入正确的数字.";
    QTest::newRow("then fees") << "10"
                               << "11"
                               << "100"
                               << "w"
                               << "［泸市过户费］填写错误!请输入正确的费率.";
    QTest::newRow("lone point fee is zero") << "10"
                                            << "11"
                                            << "100"
                                            << "."
                                            << "";
}

void TestCostEngine::validationOrder() {
    QFETCH(QString, buy);
    QFETCH(QString, sell);
    QFETCH(QString, quantity);
    QFETCH(QString, fee);
    QFETCH(QString, message);
    TradeRequest request = Request(buy, sell, quantity);
    FeeTexts texts = DefaultFeeTexts();
    texts[5] = fee;
    request.fees = numbers::ReadFeeSchedule(texts);
    const TradeCalculation result = CalculateTrade(request);
    QCOMPARE(result.error, message);
    QCOMPARE(result.costs.has_value(), message.isEmpty());
}

void TestCostEngine::validationWritesBackOnlyWhatItReached() {
    TradeCalculation result = CalculateTrade(Request(".", "5.", "x"));
    QCOMPARE(result.buyPriceText, QStringLiteral("0.0"));
    QCOMPARE(result.sellPriceText, QStringLiteral("5.0"));
    result = CalculateTrade(Request("a", ".5", "100"));
    QCOMPARE(result.buyPriceText, QStringLiteral("a"));
    QCOMPARE(result.sellPriceText, QStringLiteral(".5"));  // not reached, not rewritten
}

void TestCostEngine::bothTransferRatesAreValidatedWhateverTheExchange() {
    for (const Exchange exchange : {Exchange::Shenzhen, Exchange::Shanghai}) {
        for (size_t field : {4, 5}) {
            TradeRequest request = Request("10", "11", "1000");
            request.exchange = exchange;
            FeeTexts texts = DefaultFeeTexts();
            texts[field] = QStringLiteral("?");
            request.fees = numbers::ReadFeeSchedule(texts);
            QCOMPARE(CalculateTrade(request).error, FeeFieldMessages()[field]);
        }
    }
}

void TestCostEngine::hugeInputIsRefusedNotUndefined() {
    // A number beyond the largest accepted is its field's error; accepted numbers whose
    // amounts are too large to round are refused as such.
    for (const char *price : {"1e300", "1e17", "179769313486231570000000000000"}) {
        const TradeCalculation result = CalculateTrade(Request("1", price, "2147483647"));
        QVERIFY(!result.costs);
        QCOMPARE(result.error, QStringLiteral("［卖出价格］填写错误!请输入正确的金额."));
    }
    for (const char *price : {"1e15", "1e11"}) {
        const TradeCalculation result = CalculateTrade(Request("1", price, "2147483647"));
        QVERIFY(!result.costs);
        QCOMPARE(result.error, AmountOutOfRangeMessage());
    }
    // The largest amounts that still fit are computed.
    QVERIFY(CalculateTrade(Request("1", "40000", "2147483647")).costs);
}

void TestCostEngine::exchangeIndex() {
    QCOMPARE(ExchangeFromIndex(0), Exchange::Shenzhen);
    QCOMPARE(ExchangeFromIndex(1), Exchange::Shanghai);
    QCOMPARE(ExchangeFromIndex(-1), Exchange::Shanghai);
}

QTEST_APPLESS_MAIN(TestCostEngine)
#include "test_cost_engine.moc"
