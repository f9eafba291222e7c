// The live holdings window, opened from the holdings manager as the program wires it, over a
// real database file and a quote service on 127.0.0.1.

#include "app/open_chart.h"
#include "app/open_holdings.h"
#include "chart/intraday_chart_window.h"
#include "holdings/book.h"
#include "holdings/holdings_window.h"
#include "holdings/live_holdings_window.h"
#include "platform/fake/fake_platform.h"
#include "quotes/quote_feed.h"
#include "settings/fee_settings_dialog.h"
#include "storage/database.h"
#include "storage/watch_list_store.h"
#include "support/button_names.h"
#include "support/fake_quote_server.h"
#include "support/fake_settings.h"
#include "support/message_recorder.h"
#include "support/offscreen_warnings.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QHeaderView>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Every row's cells, joined by blanks.
QStringList Shown(const QAbstractItemModel *model) {
    QStringList rows;
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < model->columnCount(); ++c) {
            cells.append(model->index(r, c).data().toString());
        }
        rows.append(cells.join(u' '));
    }
    return rows;
}

// A database in the current folder with `count` lots of codes 600001 onwards.
bool CreateWithLots(int count) {
    bool created = storage::Database::Create(storage::DatabaseFileName());
    for (int i = 1; i <= count && created; ++i) {
        created = storage::Database()
                      .insert(storage::kGmm,
                              {{"MID", QString::number(600000 + i)}, {"MONEY", 10}, {"NUMS", 100}})
                      .has_value();
    }
    return created;
}

QDateTime InSession() {
    return QDateTime(QDate(2026, 3, 5), QTime(10, 0), quotes::BeijingTime());
}

}  // namespace

class TestLiveHoldingsWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void followsQuotesFeesAndLots();
    void stalePriceShowsGrey();
    void opensTallAndRemembersItsPlace_data();
    void opensTallAndRemembersItsPlace();
};

void TestLiveHoldingsWindow::initTestCase() {
    FilterOffscreenWarnings();
    platform::Install(std::make_unique<platform::FakePlatform>());
}

void TestLiveHoldingsWindow::cleanup() {
    delete LiveHoldingsWindow::instance;  // left open by a test that failed
}

void TestLiveHoldingsWindow::followsQuotesFeesAndLots() {
    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    QVERIFY(storage::Database::Create(storage::DatabaseFileName()));
    // Two lots of one Shanghai code, a Shenzhen code, a code the service does not know, a
    // code sold down to nothing, and a lot whose price does not read.
    for (const QString &lot : QStringLiteral("600000 10 1000;000002 5 100;600000 12 500;300999 8 "
                                             "100;000858 9 100;000858 9 -100;601398 x 100")
                                  .split(u';')) {
        const QStringList cells = lot.split(u' ');
        QVERIFY(storage::Database().insert(
            storage::kGmm, {{"MID", cells[0]}, {"MONEY", cells[1]}, {"NUMS", cells[2].toInt()}}));
    }
    // The watch list knows the name of the code no service knows.
    QVERIFY(storage::AddWatchEntry(storage::Database(),
                                   {0, "300999", "创业板ETF", {9, "9"}, {7, "7"}}));
    FakeQuoteServer server;
    server.body = QuoteLine("sh600000", "浦发银行", "11.000") +
                  QuoteLine("sz000002", "万 科Ａ\u202E", "5.500") + "var hq_str_sz300999=\"\";\n";
    qputenv("STOCKCALC_QUOTE_URL", server.url().toUtf8());
    FakeQuoteServer fallback;  // asked for what the main service leaves without a price
    qputenv("STOCKCALC_QUOTE_FALLBACK_URL", fallback.url().toUtf8());
    MessageRecorder messages;
    settings::InForce inForce;
    TSETDlg fees(inForce);
    quotes::QuoteFeed feed(quotes::TradingCalendar({}, InSession));
    holdings::Book book;
    holdings::LiveSession session(&feed, &book, inForce);

    TForm4 *holdings =
        OpenHoldings(&book, &session, inForce, [&](const QString &code, const QString &name) {
            OpenChart(code, name, &feed, book, inForce);
        });
    QCOMPARE(holdings->SpeedButton11->text(), QStringLiteral("实时盈亏"));
    holdings->SpeedButton11->click();
    LiveHoldingsWindow *live = LiveHoldingsWindow::instance;
    QVERIFY(live != nullptr && live->isVisible());
    QAbstractItemModelTester tester(live->figures());

    // One request for the window's codes, in code order.
    QTRY_COMPARE(server.requests.size(), 1);
    QCOMPARE(server.path(0), QByteArray("/list=sz000002,sz300999,sh600000"));
    QTRY_COMPARE(
        Shown(live->figures()),
        (QStringList{"000002 万 科Ａ 股票 100 5 5.11 5.50 550.00 39.45 +7.89%",
                     "300999 创业板ETF 股票 100 8 8.11 — — — —",
                     "600000 浦发银行 股票 1500 10.667 10.75 11.00 16500.00 384.00 +2.40%"}));
    QCOMPARE(UnnamedButtons(live), QString());
    QCOMPARE(live->figures()->index(0, LiveHoldingsWindow::kProfit).data(Qt::ForegroundRole),
             QVariant(QColor(255, 0, 0)));
    QCOMPARE(live->totalsLine()->text(),
             QStringLiteral("总市值 17050.00    总浮动盈亏 423.45    1只股票无报价"));
    // The code the service does not know counts as one without a price, as in the monitor.
    QVERIFY(live->statusLine()->text().startsWith(QStringLiteral("行情来源: 新浪  ")));
    QVERIFY(live->statusLine()->text().contains(QStringLiteral(" 1只股票没有报价  ")));
    QVERIFY(live->statusLine()->text().endsWith(QStringLiteral("1条持仓记录无法读取,未计入")));

    // The fee dialog's rates and basis count at once: today's rules, transfer on the amount.
    const QList<QLineEdit *> fields = {fees.Edit4, fees.Edit5, fees.Edit6, fees.Edit7,
                                       fees.Edit8, fees.Edit9, fees.Edit1};
    const QStringList today = {"0", "0.5", "0.25", "0.25", "0.01", "0.01", "5"};
    for (int i = 0; i < fields.size(); ++i) {
        fields[i]->setText(today[i]);
    }
    const auto profit = [live] {
        return live->figures()->index(2, LiveHoldingsWindow::kProfit).data().toString();
    };
    QCOMPARE(profit(), QStringLiteral("481.10"));  // 499.5 - (8.25 + 5 + 5 + 0.15)
    fees.RadioButton2->setChecked(true);
    QCOMPARE(profit(), QStringLiteral("480.92"));  // 499.5 - (8.25 + 5 + 5 + 0.16 + 0.17)
    fees.Edit5->setText("x");
    QCOMPARE(profit(), QStringLiteral("—"));
    QVERIFY(live->statusLine()->toolTip().contains(QStringLiteral("费率设置有误")));
    fees.Edit5->setText("0.5");

    // A lot added in the manager shows at once, and its code alone is asked of the feed.
    holdings->SpeedButton1Click();
    holdings->SpinEdit1->setText("601988");
    holdings->Edit1->setText("3");
    holdings->SpinEdit2->setText("100");
    holdings->SpeedButton4Click();
    QCOMPARE(live->figures()->index(3, LiveHoldingsWindow::kCode).data().toString(),
             QStringLiteral("601988"));
    QTRY_COMPARE(server.requests.size(), 2);
    QCOMPARE(server.path(1), QByteArray("/list=sh601988"));

    // Enter on a row, or a double-click, opens that code's intraday chart with the position's
    // cost and break-even under the fees in force.
    FakeQuoteServer minutes;
    qputenv("STOCKCALC_MINUTE_URL", minutes.url().toUtf8());
    live->list()->setCurrentIndex(live->figures()->index(2, LiveHoldingsWindow::kValue));
    QTest::keyClick(live->list(), Qt::Key_Return);
    IntradayChartWindow *chart = IntradayChartWindow::Find(QStringLiteral("600000"));
    QVERIFY(chart != nullptr);
    QCOMPARE(chart->TitleBar->title()->text(), QStringLiteral("浦发银行(600000) 分时"));
    QStringList lines;
    for (const auto &level : chart->Chart->levels()) {
        if (level.label != u"昨收")
            lines.append(level.label + u' ' + QString::number(level.price, 'f', 3));
    }
    QCOMPARE(lines, (QStringList{"成本 10.667", "保本 10.680"}));
    const QPoint first =
        live->list()->visualRect(live->figures()->index(0, LiveHoldingsWindow::kCode)).center();
    QTest::mouseClick(live->list()->viewport(), Qt::LeftButton, {}, first);
    QMouseEvent twice(QEvent::MouseButtonDblClick, first,
                      live->list()->viewport()->mapToGlobal(first), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(live->list()->viewport(), &twice);
    QVERIFY(IntradayChartWindow::Find(QStringLiteral("000002")) != nullptr);
    QTRY_COMPARE(minutes.requests.size(), 2);
    // One request per chart opened; the two may arrive in either order.
    QList<QByteArray> asked{minutes.path(0), minutes.path(1)};
    std::sort(asked.begin(), asked.end());
    QCOMPARE(asked, (QList<QByteArray>{"/appstock/app/minute/query?code=sh600000",
                                       "/appstock/app/minute/query?code=sz000002"}));
    chart->close();
    IntradayChartWindow::Find(QStringLiteral("000002"))->close();

    // Opening again focuses the same window; closed, it asks the feed for nothing.
    holdings->SpeedButton11->click();
    QCOMPARE(LiveHoldingsWindow::instance, live);
    live->close();
    QTRY_VERIFY(LiveHoldingsWindow::instance.isNull());
    QCOMPARE(feed.codes(), QStringList());
    delete holdings;
    QDir::setCurrent(QDir::tempPath());
}

void TestLiveHoldingsWindow::stalePriceShowsGrey() {
    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    QVERIFY(CreateWithLots(2));
    FakeQuoteServer server;
    server.body =
        QuoteLine("sh600001", "邯郸钢铁", "5.500") + QuoteLine("sh600002", "齐鲁石化", "11.000");
    qputenv("STOCKCALC_QUOTE_URL", server.url().toUtf8());
    FakeQuoteServer fallback;
    fallback.status = 503;
    qputenv("STOCKCALC_QUOTE_FALLBACK_URL", fallback.url().toUtf8());
    settings::InForce inForce;
    TSETDlg fees(inForce);
    quotes::QuoteFeed feed(quotes::TradingCalendar({}, InSession), 250, nullptr, 300);
    holdings::Book book;
    holdings::LiveSession session(&feed, &book, inForce);
    LiveHoldingsWindow *live = LiveHoldingsWindow::Open(&session);
    const auto price = [live](int row, int role) {
        return live->figures()->index(row, LiveHoldingsWindow::kPrice).data(role);
    };
    QTRY_COMPARE(price(0, Qt::DisplayRole).toString(), QStringLiteral("5.50"));
    QCOMPARE(price(0, Qt::ToolTipRole), QVariant());
    server.body = QuoteLine("sh600002", "齐鲁石化", "11.100");  // 600001 brings nothing now
    QTRY_COMPARE(price(1, Qt::DisplayRole).toString(), QStringLiteral("11.10"));
    QCOMPARE(price(0, Qt::DisplayRole).toString(), QStringLiteral("5.50"));
    QCOMPARE(price(0, Qt::ToolTipRole).toString(), QStringLiteral("价格停留在 14:35:02"));
    QCOMPARE(price(0, Qt::ForegroundRole).value<QColor>(), QColor(150, 150, 150));
    QCOMPARE(price(1, Qt::ForegroundRole).value<QColor>(), QColor(255, 255, 255));
    live->close();
    QTRY_VERIFY(LiveHoldingsWindow::instance.isNull());
    QDir::setCurrent(QDir::tempPath());
}

void TestLiveHoldingsWindow::opensTallAndRemembersItsPlace_data() {
    QTest::addColumn<int>("positions");
    QTest::addColumn<int>("height");  // 0: taller than at first, every position in sight
    QTest::newRow("few") << 3 << 340;
    QTest::newRow("ten") << 10 << 0;
    QTest::newRow("forty") << 40 << 384;  // half the 768 pixels of the work area
}

void TestLiveHoldingsWindow::opensTallAndRemembersItsPlace() {
    QFETCH(int, positions);
    QFETCH(int, height);
    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    QVERIFY(CreateWithLots(positions));
    settings::InForce inForce;
    TSETDlg fees(inForce);
    holdings::Book book;
    holdings::LiveSession session(nullptr, &book, inForce);
    LiveHoldingsWindow *live = LiveHoldingsWindow::Open(&session);
    QVERIFY(QTest::qWaitForWindowExposed(live));
    // More codes than it shows: a vertical scroll bar, and no column pushed out of sight behind
    // a sideways one.
    QTRY_COMPARE(live->list()->verticalScrollBar()->isVisible(), positions == 40);
    QVERIFY(!live->list()->horizontalScrollBar()->isVisible());
    QVERIFY(live->list()->horizontalHeader()->length() <= live->list()->viewport()->width());
    if (height > 0) {
        QCOMPARE(live->height(), height);
    } else {
        QVERIFY(live->height() > 340);
        const QModelIndex last =
            live->figures()->index(positions - 1, LiveHoldingsWindow::kPercent);
        QVERIFY(live->list()->viewport()->rect().contains(live->list()->visualRect(last)));
    }
    // Resized and moved, it opens there again.
    QVERIFY(live->maximumHeight() > live->minimumHeight());
    live->setGeometry(100, 80, 800, 500);
    live->close();
    QTRY_VERIFY(LiveHoldingsWindow::instance.isNull());
    live = LiveHoldingsWindow::Open(&session);
    QCOMPARE(live->geometry(), QRect(100, 80, 800, 500));
    QVERIFY(live->list()->geometry().right() < 800 &&
            live->statusLine()->geometry().bottom() < 500);
    live->close();
    QTRY_VERIFY(LiveHoldingsWindow::instance.isNull());
    QDir::setCurrent(QDir::tempPath());
}

QTEST_MAIN(TestLiveHoldingsWindow)
#include "test_live_holdings_window.moc"
