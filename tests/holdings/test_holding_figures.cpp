// Reference cost, combined cost and merge of checked lots.

#include "holdings/holding_figures.h"
#include "numbers/fee_schedule.h"
#include "numbers/money.h"
#include "numbers/number_syntax.h"

#include <QtTest>

using namespace holdings;

namespace {

// "code;price;quantity;reference;identity" per checked lot, lots apart by blanks.
QList<CheckedLot> Rows(const QString &texts) {
    QList<CheckedLot> rows;
    for (const QString &row : texts.split(u' ', Qt::SkipEmptyParts)) {
        const QStringList t = row.split(u';');
        rows.append({storage::HoldingLot{t[4].toLongLong(), t[0], t[1].toDouble(), t[2].toInt()},
                     t[3].toDouble()});
    }
    return rows;
}

QList<storage::HoldingLot> Lots(const QString &texts) {
    QList<storage::HoldingLot> lots;
    for (const CheckedLot &row : Rows(texts)) {
        lots.append(row.lot);
    }
    return lots;
}

const QString kTwoLots = "600000;10;1000;10.07;7 600000;12;500;12.084;3";
const QString kMixed = "600000;10;100;10.07;1 000001;10;100;10.07;2";
const QString kHuge = "600000;10;2147483647;10.07;1 600000;10;1;10.07;2";

}  // namespace

class TestHoldingFigures : public QObject {
    Q_OBJECT
private slots:
    void referenceCost();
    void combinedCost_data();
    void combinedCost();
    void merge_data();
    void merge();
};

void TestHoldingFigures::referenceCost() {
    // Transfer fees and the minimum commission do not count.
    const auto reference = [](double price, double sellStampTax) {
        return numbers::FormatAmount(
            ReferenceCostPrice(price, {0, sellStampTax, 3, 3, 99, 99, 1e9}));
    };
    QCOMPARE(reference(10, 1), QStringLiteral("10.07"));
    QCOMPARE(reference(12, 1), QStringLiteral("12.084"));
    QCOMPARE(reference(8.5, 1), QStringLiteral("8.56"));
    QCOMPARE(reference(10, 997), QStringLiteral("0"));  // sell rates make 1000
    QCOMPARE(reference(10, 1997), QStringLiteral("-10.03"));
    QCOMPARE(reference(1e300, 1), QStringLiteral("0"));  // too large to round
}

void TestHoldingFigures::combinedCost_data() {
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("expected");  // code, quantity, average, break-even | message
    const QString failed = "600000 | 错误 参数错误!无法计算.";
    const QString mixed = "| 选中的代码只能有一个 选中的股票中存在不同的代码，无法计算结果!";
    QTest::newRow("two lots") << kTwoLots << "600000 1500 10.667 10.741";
    QTest::newRow("nothing checked") << ""
                                     << "";
    QTest::newRow("mixed codes") << kMixed << mixed;
    QTest::newRow("no code is another code") << ";1;1;1;1 600000;1;1;1;2" << mixed;
    QTest::newRow("total 0") << "600000;10;100;10.07;1 600000;12;-100;12.084;2"
                             << "600000";
    QTest::newRow("total beyond 32 bits, not wrapped") << kHuge << failed;
    QTest::newRow("too large to round") << "600000;1e300;1000;1;1 600000;1e300;1000;1;2" << failed;
}

void TestHoldingFigures::combinedCost() {
    QFETCH(QString, rows);
    QFETCH(QString, expected);
    const CombinedCost cost = CombineCheckedLots(Rows(rows));
    QStringList shown = {cost.code, cost.quantityText, cost.averageText, cost.breakEvenText};
    if (cost.message) {
        shown << "|" << cost.message->caption << cost.message->text;
    }
    QCOMPARE(shown.join(u' ').simplified(), expected);
    QCOMPARE(cost.mixedCodes, expected.contains("不同的代码"));
}

void TestHoldingFigures::merge_data() {
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("expected");  // survivor identity, price, quantity, then the
                                            // removed identities in the order given
    QTest::newRow("two lots, the exact average") << kTwoLots << "7 10.6666666666667 1500 3";
    QTest::newRow("three lots") << "600000;10;100;0;5 600000;11;100;0;9 600000;12;100;0;2"
                                << "5 11 300 9 2";
    QTest::newRow("one lot stays as it is") << "600000;2.675;100;2.694;4"
                                            << "4 2.675 100";
    QTest::newRow("mixed codes") << kMixed << "选中的股票中存在不同的代码，无法合并.";
    QTest::newRow("total 0") << "600000;10;100;10.07;1 600000;10;-100;10.07;2"
                             << "";
    QTest::newRow("one lot twice counts once") << "600000;10;100;10.07;1 600000;10;100;10.07;1"
                                               << "1 10 100";
    QTest::newRow("total beyond 32 bits") << kHuge << "";
    QTest::newRow("amount beyond the limit")
        << "600000;999999999;1000000;0;1 600000;999999999;1000000;0;2"
        << numbers::AmountOutOfRangeMessage();
}

void TestHoldingFigures::merge() {
    QFETCH(QString, rows);
    QFETCH(QString, expected);
    const MergePlan plan = PlanMerge(Lots(rows));
    QStringList done;
    if (plan.message) {
        done << plan.message->text;
    }
    if (plan.survivor) {
        done << QString::number(plan.survivor->identity)
             << QString::number(plan.survivor->price, 'g', 15)
             << QString::number(plan.survivor->quantity);
        QCOMPARE(plan.survivor->code, QStringLiteral("600000"));
        for (const storage::HoldingLot &lot : plan.removed) {
            done << QString::number(lot.identity);
        }
    }
    QCOMPARE(done.join(u' '), expected);
    QCOMPARE(plan.mixedCodes, expected.contains("不同的代码"));
}

QTEST_APPLESS_MAIN(TestHoldingFigures)
#include "test_holding_figures.moc"
