// The calculator windows, driven offscreen on a 1024 x 768 screen: typed text in, field texts
// and messages out.

#include "calc/average_price.h"
#include "calc/average_price_window.h"
#include "calc/compact_difference_window.h"
#include "calc/full_difference_window.h"
#include "calc/profit_table_window.h"
#include "numbers/money.h"
#include "numbers/number_syntax.h"
#include "platform/fake/fake_platform.h"
#include "support/button_names.h"
#include "support/fake_settings.h"
#include "support/message_recorder.h"

#include <QDir>
#include <QTemporaryDir>
#include "support/offscreen_warnings.h"

#include <QtTest>

namespace {

void Type(QLineEdit *field, const QString &text) {
    field->clear();
    QTest::keyClicks(field, text);
}

QStringList Outputs(const DifferenceFields &f) {
    QStringList texts;
    for (QLineEdit *field : {f.Edit4, f.Edit5, f.Edit6, f.Edit7, f.Edit8, f.Edit9, f.Edit3}) {
        texts.append(field->text());
    }
    return texts;
}

QStringList Column(const QTableWidget *table, int column) {
    QStringList texts;
    for (int r = 0; r < table->rowCount(); ++r) {
        texts.append(table->item(r, column)->text());
    }
    return texts;
}

template <class Window>
void CloseAll() {
    if (Window::instance) {
        delete Window::instance.data();
    }
}

}  // namespace

class TestCalculatorWindows : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void difference_data();
    void difference();
    void differenceMessagesInOrderKeepResults_data();
    void differenceMessagesInOrderKeepResults();
    void differenceUsesFeesInForce();
    void differencePlacement_data();
    void differencePlacement();
    void switchCarriesEveryField();
    void switchFillsAnOpenTarget();
    void classChoice();
    void differenceFiltersAndLayout();
    void titleButtonsStandOut();
    void everyButtonHasAName_data();
    void everyButtonHasAName();

    void average_data();
    void average();
    void averageMessages_data();
    void averageMessages();
    void averagePlacementAndFilters();

    void profitFenMode();
    void profitPercentModeAndRange();
    void profitCostWithThreeDecimalsHasNoBlackRow();
    void profitFeeTextFailureShownOnce();
    void profitCreationAndOpen();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<MessageRecorder> m_messages;
    std::unique_ptr<FakeSettings> m_settings;
};

void TestCalculatorWindows::initTestCase() {
    FilterOffscreenWarnings();
    platform::Install(std::make_unique<platform::FakePlatform>());
    m_dir = std::make_unique<QTemporaryDir>();
    QDir::setCurrent(m_dir->path());  // no database: the dialogs show their defaults
}

void TestCalculatorWindows::init() {
    m_messages = std::make_unique<MessageRecorder>();
    m_settings = std::make_unique<FakeSettings>();
}

void TestCalculatorWindows::cleanup() {
    CloseAll<TForm5>();
    CloseAll<TForm2>();
    CloseAll<TForm6>();
    CloseAll<TForm9>();
    m_settings.reset();
    m_messages.reset();
}

void TestCalculatorWindows::difference_data() {
    QTest::addColumn<bool>("full");
    QTest::addColumn<QString>("buy");
    QTest::addColumn<QString>("sell");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<int>("exchange");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("buyAfter");
    for (bool full : {false, true}) {
        const char *window = full ? "full" : "compact";
        QTest::addRow("%s 10 11 1000 Shenzhen", window)
            << full << "10"
            << "11"
            << "1000" << 0 << QStringList{"0", "11", "30", "33", "0", "74", "926"} << "10";
        QTest::addRow("%s Shanghai", window)
            << full << "10"
            << "11"
            << "1000" << 1 << QStringList{"0", "11", "30", "33", "1", "75", "925"} << "10";
        QTest::addRow("%s minimum commissions", window)
            << full << "10"
            << "10.2"
            << "100" << 1 << QStringList{"0", "1.02", "5", "5", "0.1", "11.12", "8.88"} << "10";
        QTest::addRow("%s leading point normalised", window)
            << full << ".5"
            << "1"
            << "10000" << 0 << QStringList{"0", "10", "15", "30", "0", "55", "4945"} << "0.5";
        QTest::addRow("%s quantity 0", window)
            << full << "8.88"
            << "9.99"
            << "0" << 0 << QStringList{"0", "0", "5", "5", "0", "10", "-10"} << "8.88";
    }
}

void TestCalculatorWindows::difference() {
    QFETCH(bool, full);
    QFETCH(QString, buy);
    QFETCH(QString, sell);
    QFETCH(QString, quantity);
    QFETCH(int, exchange);
    QFETCH(QStringList, expected);
    QFETCH(QString, buyAfter);
    DifferenceFields fields;
    QAbstractButton *calculate = nullptr;
    if (full) {
        TForm2 *window = TForm2::Open(m_settings->inForce);
        fields = window->fields();
        calculate = window->SpeedButton1;
    } else {
        TForm5 *window = TForm5::Open(m_settings->inForce);
        fields = window->fields();
        calculate = window->SpeedButton1;
    }
    Type(fields.Edit1, buy);
    Type(fields.Edit2, sell);
    Type(fields.SpinEdit1, quantity);
    fields.ComboBox1->setCurrentIndex(exchange);
    QTest::mouseClick(calculate, Qt::LeftButton);
    QVERIFY(m_messages->shown.isEmpty());
    QCOMPARE(Outputs(fields), expected);
    QCOMPARE(fields.Edit1->text(), buyAfter);
}

void TestCalculatorWindows::differenceMessagesInOrderKeepResults_data() {
    QTest::addColumn<QString>("buy");
    QTest::addColumn<QString>("sell");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<int>("badFee");  // index in record order, -1 for none
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("buyAfter");
    QTest::addColumn<QString>("sellAfter");
    QTest::newRow("buy before everything") << ""
                                           << ""
                                           << "" << 0 << "［买入价格］填写错误!请输入正确的金额."
                                           << ""
                                           << "";
    QTest::newRow("lone point buy is 0.0, sell empty")
        << "."
        << ""
        << "100" << -1 << "［卖出价格］填写错误!请输入正确的金额."
        << "0.0"
        << "";
    QTest::newRow("quantity after prices normalised")
        << "5."
        << ".5"
        << "" << -1 << "［股票数量］填写错误!请输入正确的数字."
        << "5.0"
        << "0.5";
    QTest::newRow("Shanghai transfer on a Shenzhen trade")
        << "10"
        << "11"
        << "100" << 5 << "［泸市过户费］填写错误!请输入正确的费率."
        << "10"
        << "11";
    QTest::newRow("minimum commission last")
        << "10"
        << "11"
        << "100" << 6 << "［最低手续费］填写错误!请输入正确的金额."
        << "10"
        << "11";
    QTest::newRow("amount beyond what can be rounded")
        << "1"
        << "1e15"
        << "1000" << -1 << numbers::AmountOutOfRangeMessage() << "1"
        << "1e15";
}

void TestCalculatorWindows::differenceMessagesInOrderKeepResults() {
    QFETCH(QString, buy);
    QFETCH(QString, sell);
    QFETCH(QString, quantity);
    QFETCH(int, badFee);
    QFETCH(QString, message);
    QFETCH(QString, buyAfter);
    QFETCH(QString, sellAfter);
    TForm5 *window = TForm5::Open(m_settings->inForce);
    Type(window->Edit1, QStringLiteral("10"));
    Type(window->Edit2, QStringLiteral("11"));
    window->SpinEdit1->setText(QStringLiteral("1000"));
    window->SpeedButton1Click();
    const QStringList before = Outputs(window->fields());
    QCOMPARE(before.last(), QStringLiteral("926"));

    window->Edit1->setText(buy);  // pasted text: the filters do not see it
    window->Edit2->setText(sell);
    window->SpinEdit1->setText(quantity);
    if (badFee >= 0) {
        m_settings->setFee(static_cast<size_t>(badFee), QStringLiteral("x"));
    }
    window->SpeedButton1Click();
    QCOMPARE(m_messages->texts(), QStringList{message});
    QCOMPARE(m_messages->shown.front().caption, QStringLiteral("错误"));
    QCOMPARE(m_messages->shown.front().icon, messages::Icon::Error);
    QCOMPARE(m_messages->shown.front().owner.data(), window);
    QCOMPARE(Outputs(window->fields()), before);
    QCOMPARE(window->Edit1->text(), buyAfter);
    QCOMPARE(window->Edit2->text(), sellAfter);
}

void TestCalculatorWindows::differenceUsesFeesInForce() {
    TForm5 *window = TForm5::Open(m_settings->inForce);
    window->Edit1->setText(QStringLiteral("10"));
    window->Edit2->setText(QStringLiteral("11"));
    window->SpinEdit1->setText(QStringLiteral("1000"));
    m_settings->setFee(1, QStringLiteral("."));  // a lone point counts as 0, unsaved
    window->SpeedButton1Click();
    QVERIFY(m_messages->shown.isEmpty());
    QCOMPARE(window->Edit5->text(), QStringLiteral("0"));
    QCOMPARE(window->Edit3->text(), QStringLiteral("937"));
    // The transfer basis as chosen now: 0.01 per mille of 10000 and of 11000.
    m_settings->setTransferBasis(numbers::TransferBasis::PerAmount);
    m_settings->setFee(4, QStringLiteral("0.01"));
    window->SpeedButton1Click();
    QCOMPARE(window->Edit8->text(), QStringLiteral("0.21"));
}

void TestCalculatorWindows::differencePlacement_data() {
    QTest::addColumn<int>("corner");
    QTest::addColumn<QPoint>("compact");
    QTest::addColumn<QPoint>("full");
    QTest::newRow("top left") << 1 << QPoint(1, 1) << QPoint(1, 1);
    QTest::newRow("top right") << 2 << QPoint(318, 1) << QPoint(574, 1);
    QTest::newRow("bottom left") << 3 << QPoint(1, 703) << QPoint(1, 468);
    QTest::newRow("bottom right") << 4 << QPoint(318, 703) << QPoint(574, 468);
}

void TestCalculatorWindows::differencePlacement() {
    QFETCH(int, corner);
    QFETCH(QPoint, compact);
    QFETCH(QPoint, full);
    // As the dialog shows it now, saved or not.
    m_settings->setDifferenceCorner(corner);
    TForm5 *small = TForm5::Open(m_settings->inForce);
    QCOMPARE(small->size(), QSize(704, 35));
    QCOMPARE(small->pos(), compact);
    // A switch places the new window at the corner, not where the old one stood.
    small->move(200, 200);
    TForm2 *large = small->switchTo<TForm2>();
    QCOMPARE(large->size(), QSize(448, 270));
    QCOMPARE(large->pos(), full);
    QCOMPARE(large->dragOrigin(), QPoint(0, 0));
}

void TestCalculatorWindows::switchCarriesEveryField() {
    TForm5 *small = TForm5::Open(m_settings->inForce);
    small->Edit1->setText(QStringLiteral("10"));
    small->Edit2->setText(QStringLiteral("11"));
    small->SpinEdit1->setText(QStringLiteral("1000"));
    small->ComboBox1->setCurrentIndex(1);
    small->SpeedButton1Click();
    small->Edit2->setText(QStringLiteral("12"));  // typed, never calculated
    QTest::mouseClick(small->SpeedButton3, Qt::LeftButton);
    QTRY_VERIFY(TForm5::instance.isNull());
    TForm2 *large = TForm2::instance;
    QVERIFY(large != nullptr);
    QCOMPARE(large->Edit1->text(), QStringLiteral("10"));
    QCOMPARE(large->Edit2->text(), QStringLiteral("12"));
    QCOMPARE(large->SpinEdit1->text(), QStringLiteral("1000"));
    QCOMPARE(large->ComboBox1->currentIndex(), 1);
    QCOMPARE(Outputs(large->fields()), (QStringList{"0", "11", "30", "33", "1", "75", "925"}));
    // And back again.
    large->SpeedButton3Click();
    QTRY_VERIFY(TForm2::instance.isNull());
    QCOMPARE(TForm5::instance->Edit9->text(), QStringLiteral("75"));
    QCOMPARE(TForm5::instance->ComboBox1->currentIndex(), 1);
}

void TestCalculatorWindows::classChoice() {
    TForm2 *large = TForm2::Open(m_settings->inForce);
    QCOMPARE(large->ClassBox->currentText(), QStringLiteral("股票"));
    large->Edit1->setText(QStringLiteral("10"));
    large->Edit2->setText(QStringLiteral("11"));
    large->SpinEdit1->setText(QStringLiteral("1000"));
    large->ComboBox1->setCurrentIndex(1);
    large->ClassBox->setCurrentIndex(1);  // 基金: no stamp tax, no transfer fee
    large->SpeedButton1Click();
    QCOMPARE(Outputs(large->fields()), (QStringList{"0", "0", "30", "33", "0", "63", "937"}));
    // The compact window computes with the class carried across.
    large->SpeedButton3Click();
    QTRY_VERIFY(TForm2::instance.isNull());
    TForm5 *small = TForm5::instance;
    small->Edit2->setText(QStringLiteral("12"));
    small->SpeedButton1Click();
    QCOMPARE(small->Edit3->text(), QStringLiteral("1934"));  // 2000 - 30 - 36
    // From the holdings manager the table charges the code's class: here a bond's.
    QVERIFY(OpenProfitTable(QStringLiteral("10"), QStringLiteral("10.07"), QStringLiteral("1000"),
                            nullptr, m_settings->inForce, numbers::InstrumentClass::Bond));
    QCOMPARE(TForm9::instance->ClassBox->currentText(), QStringLiteral("债券"));
    const QTableWidget *rows = TForm9::instance->ListView1;
    QCOMPARE(
        rows->item(rows->rowCount() / 2, 3)->text(),
        QStringLiteral("购入印花税：0;卖出印花税：0;购入手续费：30;卖出手续费：30.21;过户费：0;"));
}

void TestCalculatorWindows::switchFillsAnOpenTarget() {
    TForm5 *small = TForm5::Open(m_settings->inForce);
    TForm2 *large = new TForm2(m_settings->inForce);  // a full window already open beside it
    TForm2::instance = large;
    large->show();
    small->Edit1->setText(QStringLiteral("7"));
    QPointer<TForm2> target = small->switchTo<TForm2>();
    QCOMPARE(target.data(), large);
    QCOMPARE(large->Edit1->text(), QStringLiteral("7"));
    large->Edit1->setText(QStringLiteral("8"));
    TForm5 *second = TForm5::Open(m_settings->inForce);
    TForm5 *filled = large->switchTo<TForm5>();
    QCOMPARE(filled, second);
    QCOMPARE(filled->Edit1->text(), QStringLiteral("8"));
}

void TestCalculatorWindows::differenceFiltersAndLayout() {
    TForm5 *small = TForm5::Open(m_settings->inForce);
    QTest::keyClicks(small->Edit1, QStringLiteral("-1.2.3"));
    QCOMPARE(small->Edit1->text(), QStringLiteral("1.23"));
    small->SpinEdit1->clear();
    QTest::keyClicks(small->SpinEdit1, QStringLiteral("-5.0"));
    QCOMPARE(small->SpinEdit1->text(), QStringLiteral("50"));
    QTest::keyClick(small->SpinEdit1, Qt::Key_Up);
    QCOMPARE(small->SpinEdit1->text(), QStringLiteral("150"));
    QVERIFY(small->Edit3->alignment() & Qt::AlignRight);
    QVERIFY(small->SpinEdit1->alignment() & Qt::AlignRight);
    QVERIFY(small->Edit3->isReadOnly());
    QVERIFY(!small->Edit4->isVisible());
    QCOMPARE(small->SpeedButton1->text(), QStringLiteral("收益"));
    // Tab follows the row from the buy price to the net profit.
    QCOMPARE(small->ComboBox1->nextInFocusChain(), static_cast<QWidget *>(small->Edit3));
    QCOMPARE(small->SpeedButton3->toolTip(), QStringLiteral("正常窗口"));
    TForm2 *large = TForm2::Open(m_settings->inForce);
    QCOMPARE(large->SpeedButton1->text(), QStringLiteral("计算收益"));
    QCOMPARE(large->SpeedButton3->toolTip(), QStringLiteral("简略窗口"));
    QCOMPARE(large->GroupBox1->title(), QStringLiteral("交易费用列表（单位：元）"));
    QCOMPARE(large->Edit9->palette().color(QPalette::Text), QColor(0, 128, 0));
    QCOMPARE(large->Edit3->palette().color(QPalette::Base), QColor(255, 255, 196));
    // Tab: buy, sell, exchange, the six fees, net profit, and the quantity last.
    QCOMPARE(large->Edit2->nextInFocusChain(), static_cast<QWidget *>(large->ComboBox1));
    QCOMPARE(large->Edit3->nextInFocusChain(), static_cast<QWidget *>(large->SpinEdit1));
}

void TestCalculatorWindows::everyButtonHasAName_data() {
    QTest::addColumn<int>("window");
    QTest::newRow("compact") << 0;
    QTest::newRow("full") << 1;
    QTest::newRow("average") << 2;
    QTest::newRow("profit") << 3;
}

void TestCalculatorWindows::everyButtonHasAName() {
    QFETCH(int, window);
    settings::InForce &inForce = m_settings->inForce;
    const std::unique_ptr<QWidget> shown(window == 0 ? static_cast<QWidget *>(TForm5::Open(inForce))
                                         : window == 1 ? TForm2::Open(inForce)
                                         : window == 2
                                             ? static_cast<QWidget *>(TForm6::Open(inForce))
                                             : new TForm9(inForce));
    shown->show();
    QVERIFY(QTest::qWaitForWindowExposed(shown.get()));
    QCOMPARE(UnnamedButtons(shown.get()), QString());
}

void TestCalculatorWindows::titleButtonsStandOut() {
    // The glyph's pixel farthest in grey level from the face it lies on.
    const auto contrast = [](QWidget *face, QWidget *button) {
        const QImage image = face->grab(button->geometry()).toImage();
        const int back = qGray(face->palette().color(QPalette::Window).rgb());
        int strongest = 0;
        for (int i = 0; i < image.width() * image.height(); ++i) {
            strongest =
                std::max(strongest,
                         std::abs(qGray(image.pixel(i % image.width(), i / image.width())) - back));
        }
        return strongest;
    };
    // On the blue title panel as clear as the compact window's on its light face.
    TForm5 *small = TForm5::Open(m_settings->inForce);
    TForm2 *large = TForm2::Open(m_settings->inForce);
    for (QPushButton *button : {large->SpeedButton2, large->SpeedButton3}) {
        QVERIFY(contrast(large->Panel1, button) >= contrast(small, small->SpeedButton2));
    }
}

void TestCalculatorWindows::average_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("newPrice");
    QTest::addColumn<QString>("newQuantity");
    QTest::addColumn<QString>("cost");
    QTest::addColumn<QString>("original");
    QTest::addColumn<int>("instrument");  // the class drop-down's index: 0 股票, 1 基金, 2 债券
    QTest::newRow("purchase") << 0 << "10"
                              << "1000"
                              << "8"
                              << "1000"
                              << "9.063"
                              << "9" << 0;
    QTest::newRow("sale") << 0 << "10"
                          << "1000"
                          << "12"
                          << "-500"
                          << "8.141"
                          << "8.084" << 0;
    QTest::newRow("nothing new") << 0 << "10"
                                 << "100"
                                 << "0"
                                 << "0"
                                 << "10.07"
                                 << "10" << 0;
    // 10 × (1 + 3‰) / (1 − 3‰) = 10.0602: no stamp tax on selling a fund or a bond.
    QTest::newRow("fund") << 0 << "10"
                          << "100"
                          << "0"
                          << "0"
                          << "10.06"
                          << "10" << 1;
    QTest::newRow("from a cost price") << 1 << "10.07"
                                       << "1000"
                                       << "0"
                                       << "0"
                                       << "10.07"
                                       << "10" << 0;
    QTest::newRow("trailing point") << 0 << "9."
                                    << "100"
                                    << "0"
                                    << "0"
                                    << "9.063"
                                    << "9" << 0;
}

void TestCalculatorWindows::average() {
    QFETCH(int, kind);
    QFETCH(QString, price);
    QFETCH(QString, quantity);
    QFETCH(QString, newPrice);
    QFETCH(QString, newQuantity);
    QFETCH(QString, cost);
    QFETCH(QString, original);
    QFETCH(int, instrument);
    TForm6 *window = TForm6::Open(m_settings->inForce);
    window->ComboBox1->setCurrentIndex(kind);
    window->ClassBox->setCurrentIndex(instrument);
    Type(window->Edit1, price);
    Type(window->Edit2, newPrice);
    Type(window->SpinEdit1, quantity);
    Type(window->SpinEdit2, newQuantity);
    QTest::mouseClick(window->SpeedButton1, Qt::LeftButton);
    QVERIFY2(m_messages->shown.isEmpty(), qPrintable(m_messages->texts().join(';')));
    QCOMPARE(window->Edit3->text(), cost);
    QCOMPARE(window->Edit4->text(), original);
    QCOMPARE(window->Edit1->text(), numbers::NormaliseDecimalText(price));
}

void TestCalculatorWindows::averageMessages_data() {
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("newPrice");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("newQuantity");
    QTest::addColumn<QString>("sellCommission");
    QTest::addColumn<QString>("message");
    QTest::newRow("existing price first") << ""
                                          << ""
                                          << "x"
                                          << "x"
                                          << "3"
                                          << "［原价（成本）价］填写错误!请输入正确的金额.";
    QTest::newRow("new price even with nothing new") << "10"
                                                     << ""
                                                     << "100"
                                                     << "0"
                                                     << "3"
                                                     << "［新购价］填写错误!请输入正确的金额.";
    QTest::newRow("existing quantity") << "10"
                                       << "8"
                                       << "1.5"
                                       << "0"
                                       << "3"
                                       << "［股票数量］填写错误!请输入正确的数字.";
    QTest::newRow("new quantity") << "10"
                                  << "8"
                                  << "100"
                                  << "--1"
                                  << "3"
                                  << "［股票数量］填写错误!请输入正确的数字.";
    QTest::newRow("sum of zero") << "10"
                                 << "8"
                                 << "100"
                                 << "-100"
                                 << "3"
                                 << "原有股票和新买(卖)股票的数量之和不能<=0!";
    QTest::newRow("sum beyond 32 bits") << "10"
                                        << "8"
                                        << "2147483647"
                                        << "100"
                                        << "3"
                                        << "［股票数量］数量之和超出范围!请输入较小的数字.";
    QTest::newRow("sell rates of 1000 per mille") << "10"
                                                  << "8"
                                                  << "100"
                                                  << "0"
                                                  << "999" << calc::AverageOutOfRangeMessage();
    QTest::newRow("result too large to round") << "1e15"
                                               << "8"
                                               << "100"
                                               << "0"
                                               << "990" << calc::AverageOutOfRangeMessage();
    QTest::newRow("fee rate that is no number") << "10"
                                                << "8"
                                                << "100"
                                                << "0"
                                                << ""
                                                << "［卖出交手续费］填写错误!请输入正确的费率.";
}

void TestCalculatorWindows::averageMessages() {
    QFETCH(QString, price);
    QFETCH(QString, newPrice);
    QFETCH(QString, quantity);
    QFETCH(QString, newQuantity);
    QFETCH(QString, sellCommission);
    QFETCH(QString, message);
    TForm6 *window = TForm6::Open(m_settings->inForce);
    window->Edit3->setText(QStringLiteral("old"));
    window->Edit4->setText(QStringLiteral("old"));
    window->Edit1->setText(price);
    window->Edit2->setText(newPrice);
    window->SpinEdit1->setText(quantity);
    window->SpinEdit2->setText(newQuantity);
    m_settings->setFee(3, sellCommission);
    window->SpeedButton1Click();
    QCOMPARE(m_messages->texts(), QStringList{message});
    QCOMPARE(m_messages->shown.front().caption, QStringLiteral("错误"));
    QCOMPARE(m_messages->shown.front().owner.data(), window);
    QCOMPARE(window->Edit3->text(), QStringLiteral("old"));
    QCOMPARE(window->Edit4->text(), QStringLiteral("old"));
}

void TestCalculatorWindows::averagePlacementAndFilters() {
    const QPoint expected[] = {{1, 1}, {415, 1}, {1, 677}, {415, 677}};
    for (int corner = 0; corner < 4; ++corner) {
        m_settings->setAverageCorner(corner + 1);
        TForm6 *window = TForm6::Open(m_settings->inForce);
        QCOMPARE(window->size(), QSize(607, 61));
        QCOMPARE(window->pos(), expected[corner]);
        delete window;
    }
    TForm6 *window = TForm6::Open(m_settings->inForce);
    QCOMPARE(window->windowTitle(), QStringLiteral("均价计算器"));
    Type(window->SpinEdit2, QStringLiteral("-5a00"));
    QCOMPARE(window->SpinEdit2->text(), QStringLiteral("-500"));
    Type(window->SpinEdit1, QStringLiteral("-1"));
    QCOMPARE(window->SpinEdit1->text(), QStringLiteral("-1"));
    Type(window->Edit2, QStringLiteral("-1.5.0"));
    QCOMPARE(window->Edit2->text(), QStringLiteral("1.50"));
    QVERIFY(window->SpinEdit1->alignment() & Qt::AlignRight);
    QVERIFY(!(window->SpinEdit2->alignment() & Qt::AlignRight));
    QVERIFY(window->Edit3->alignment() & Qt::AlignRight);
    // A purchase typed into the new quantity and left stays a purchase.
    window->SpinEdit2->setText(QStringLiteral("300"));
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(window->SpinEdit2, &out);
    QCOMPARE(window->SpinEdit2->text(), QStringLiteral("300"));
    QTest::keyClick(window->SpinEdit2, Qt::Key_Up);
    QCOMPARE(window->SpinEdit2->text(), QStringLiteral("400"));
}

void TestCalculatorWindows::profitFenMode() {
    QVERIFY(OpenProfitTable(QStringLiteral("10"), QStringLiteral("10.07"), QStringLiteral("1000"),
                            nullptr, m_settings->inForce));
    TForm9 *table = TForm9::instance;
    table->SpinEdit2->setText(QStringLiteral("2"));
    QTest::mouseClick(table->SpeedButton1010, Qt::LeftButton);
    QCOMPARE(Column(table->ListView1, 0),
             (QStringList{"10.05", "10.06", "10.07", "10.08", "10.09"}));
    QCOMPARE(Column(table->ListView1, 1),
             (QStringList{"70.2", "70.24", "70.28", "70.32", "70.36"}));
    QCOMPARE(Column(table->ListView1, 2),
             (QStringList{"-20.2", "-10.24", "-0.28", "9.68", "19.64"}));
    QCOMPARE(table->ListView1->item(0, 3)->text(),
             QStringLiteral(
                 "购入印花税：0;卖出印花税：10.05;购入手续费：30;卖出手续费：30.15;过户费：0;"));
    QVERIFY(table->ListView1->isColumnHidden(3));
    QCOMPARE(table->ListView1->rowHeight(0), 22);
    m_settings->setTransferBasis(numbers::TransferBasis::PerAmount);  // 0.1 on either side
    m_settings->setFee(4, QStringLiteral("0.01"));
    QTest::mouseClick(table->SpeedButton1010, Qt::LeftButton);
    QCOMPARE(Column(table->ListView1, 1).front(), QStringLiteral("70.4"));
    m_settings->setTransferBasis(numbers::TransferBasis::PerShare);
    m_settings->setFee(4, QStringLiteral("0"));
    QTest::mouseClick(table->SpeedButton1010, Qt::LeftButton);
    const QColor green(0, 128, 0), red(255, 0, 0), black(0, 0, 0);
    const QColor colours[] = {green, green, black, red, red};
    for (int r = 0; r < 5; ++r) {
        QCOMPARE(table->ListView1->item(r, 2)->foreground().color(), colours[r]);
    }
    QVERIFY(m_messages->shown.isEmpty());
    // A net profit of exactly 0 counts as a gain.
    for (size_t fee : {0, 1, 2, 3, 6}) {
        m_settings->setFee(fee, QStringLiteral("0"));
    }
    table->Edit2->setText(QStringLiteral("10.001"));
    table->Edit3->setText(QStringLiteral("100"));
    table->SpinEdit2->setText(QStringLiteral("1"));
    table->RadioButton2->setChecked(true);  // Shanghai: 0.1 fen a share
    table->FillProfitTable();
    QCOMPARE(Column(table->ListView1, 2), (QStringList{"-1.1", "-0.1", "0.9"}));
    m_settings->setFee(5, QStringLiteral("0"));
    table->FillProfitTable();
    QCOMPARE(Column(table->ListView1, 2), (QStringList{"-1", "0", "1"}));
    QCOMPARE(table->ListView1->item(1, 0)->foreground().color(), red);
    QCOMPARE(table->ListView1->item(0, 0)->foreground().color(), green);
}

void TestCalculatorWindows::profitPercentModeAndRange() {
    OpenProfitTable(QStringLiteral("10"), QStringLiteral("10.07"), QStringLiteral("1000"), nullptr,
                    m_settings->inForce);
    TForm9 *table = TForm9::instance;
    QCOMPARE(table->ListView1->rowCount(), 21);  // range 10 at first
    table->RadioButton4->setChecked(true);
    table->SpinEdit2->setText(QStringLiteral("2"));
    table->FillProfitTable();
    QCOMPARE(Column(table->ListView1, 0), (QStringList{"9.87", "9.97", "10.07", "10.17", "10.27"}));
    // Settings that are no number count as 1; typed values are held to 1 to 100.
    table->SpinEdit2->setText(QStringLiteral("x"));
    table->FillProfitTable();
    QCOMPARE(table->ListView1->rowCount(), 3);
    table->SpinEdit2->setText(QStringLiteral("999"));
    table->FillProfitTable();
    QCOMPARE(table->ListView1->rowCount(), 201);
    table->RadioButton3->setChecked(true);
    table->SpinEdit1->setText(QStringLiteral("0"));
    table->SpinEdit2->setText(QStringLiteral("1"));
    table->FillProfitTable();
    QCOMPARE(Column(table->ListView1, 0), (QStringList{"10.06", "10.07", "10.08"}));
}

void TestCalculatorWindows::profitCostWithThreeDecimalsHasNoBlackRow() {
    OpenProfitTable(QStringLiteral("10"), QStringLiteral("10.068"), QStringLiteral("1000"), nullptr,
                    m_settings->inForce);
    TForm9 *table = TForm9::instance;
    QCOMPARE(table->ListView1->item(10, 0)->text(), QStringLiteral("10.07"));
    for (int r = 0; r < table->ListView1->rowCount(); ++r) {
        QVERIFY(table->ListView1->item(r, 0)->foreground().color() != QColor(0, 0, 0));
    }
}

void TestCalculatorWindows::profitFeeTextFailureShownOnce() {
    m_settings->setFee(4, QString());
    QVERIFY(OpenProfitTable(QStringLiteral("10"), QStringLiteral("10.07"), QStringLiteral("1000"),
                            nullptr, m_settings->inForce));
    QCOMPARE(m_messages->texts(), QStringList{"［深市过户费］填写错误!请输入正确的费率."});
    TForm9 *table = TForm9::instance;
    QCOMPARE(table->ListView1->rowCount(), 21);
    QCOMPARE(table->ListView1->item(0, 0)->text(), QStringLiteral("9.97"));
    QCOMPARE(table->ListView1->item(0, 1)->text(), QString());
    QCOMPARE(table->ListView1->item(0, 3)->text(), QString());
    // A holding figure that is no number stops the fill; the holdings window has said why.
    m_messages->clear();
    m_settings->setFee(4, QStringLiteral("0"));
    QVERIFY(!OpenProfitTable(QStringLiteral("abc"), QStringLiteral("10.07"), QStringLiteral("1000"),
                             nullptr, m_settings->inForce));
    QVERIFY(m_messages->texts().isEmpty());
    QCOMPARE(table->ListView1->rowCount(), 0);
}

void TestCalculatorWindows::profitCreationAndOpen() {
    QWidget holdings;
    holdings.setGeometry(100, 50, 600, 400);
    OpenProfitTable(QStringLiteral("10"), QStringLiteral("10.07"), QStringLiteral("1000"),
                    &holdings, m_settings->inForce);
    QPointer<TForm9> table = TForm9::instance;
    QCOMPARE(table->size(), QSize(416, 632));
    QCOMPARE(table->pos(), QPoint(600, (768 - 632) / 2));
    QCOMPARE(table->windowTitle(), QStringLiteral("股票利润细分表"));
    // An open table is refilled and keeps its settings.
    table->SpinEdit2->setText(QStringLiteral("3"));
    holdings.move(300, 50);  // the overlap would cross the screen's edge: just inside it
    OpenProfitTable(QStringLiteral("10"), QStringLiteral("10.5"), QStringLiteral("500"), &holdings,
                    m_settings->inForce);
    QCOMPARE(TForm9::instance.data(), table.data());
    QCOMPARE(table->x(), 1024 - 416);
    QCOMPARE(table->ListView1->rowCount(), 7);
    QCOMPARE(table->ListView1->item(3, 0)->text(), QStringLiteral("10.5"));
    QTest::mouseClick(table->SpeedButton3, Qt::LeftButton);
    QTRY_VERIFY(table.isNull());
}

QTEST_MAIN(TestCalculatorWindows)
#include "test_calculator_windows.moc"
