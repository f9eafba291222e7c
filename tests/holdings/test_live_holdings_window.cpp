// The live holdings window, opened from the holdings manager as the program wires it, over a
// real database file and a quote service on 127.0.0.1.

#include "app/open_holdings.h"
#include "holdings/book.h"
#include "holdings/holdings_window.h"
#include "holdings/live_holdings_window.h"
#include "platform/fake/fake_platform.h"
#include "quotes/quote_feed.h"
#include "settings/fee_settings_dialog.h"
#include "storage/database.h"
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

QDateTime InSession() {
    return QDateTime(QDate(2026, 3, 5), QTime(10, 0), quotes::BeijingTime());
}

}  // namespace

class TestLiveHoldingsWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void followsQuotesFeesAndLots();
    void longListKeepsEveryColumn();
};

void TestLiveHoldingsWindow::initTestCase() {
    FilterOffscreenWarnings();
    platform::Install(std::make_unique<platform::FakePlatform>());
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
        QVERIFY(storage::Database().Insert(
            storage::kGmm, {{"MID", cells[0]}, {"MONEY", cells[1]}, {"NUMS", cells[2].toInt()}}));
    }
    FakeQuoteServer server;
    server.body = QuoteLine("sh600000", "浦发银行", "11.000") +
                  QuoteLine("sz000002", "万 科Ａ\u202E", "5.500") + "var hq_str_sz300999=\"\";\n";
    qputenv("STOCKCALC_QUOTE_URL", server.url().toUtf8());
    FakeQuoteServer fallback;  // asked for what the main service leaves without a price
    qputenv("STOCKCALC_QUOTE_FALLBACK_URL", fallback.url().toUtf8());
    MessageRecorder messages;
    FakeSettings system;
    TSETDlg fees;
    settings::Install(&fees, &system);
    quotes::QuoteFeed feed(quotes::TradingCalendar({}, InSession));
    holdings::Book book;
    holdings::LiveSession session(&feed, &book, settings::Fees());
    QObject::connect(&fees, &TSETDlg::FeesChanged, &session, &holdings::LiveSession::feesChanged);
    SetHoldingsSources(&book, &session);

    TForm4 *holdings = OpenHoldings();
    QCOMPARE(holdings->SpeedButton11->text(), QStringLiteral("实时盈亏"));
    holdings->SpeedButton11->click();
    LiveHoldingsWindow *live = LiveHoldingsWindow::instance;
    QVERIFY(live != nullptr && live->isVisible());
    QAbstractItemModelTester tester(live->figures());

    // One request for the window's codes, in code order.
    QTRY_COMPARE(server.requests.size(), 1);
    QCOMPARE(server.path(0), QByteArray("/list=sz000002,sz300999,sh600000"));
    QTRY_COMPARE(Shown(live->figures()),
                 (QStringList{"000002 万 科Ａ 100 5 5.500 550 39.45 +7.89%", "300999  100 8  — — —",
                              "600000 浦发银行 1500 10.667 11.000 16500 384 +2.40%"}));
    QCOMPARE(live->figures()->index(0, LiveHoldingsWindow::kProfit).data(Qt::ForegroundRole),
             QVariant(QColor(255, 0, 0)));
    QCOMPARE(live->totalsLine()->text(),
             QStringLiteral("总市值 17050    总浮动盈亏 423.45    1只股票无报价"));
    QVERIFY(live->statusLine()->text().startsWith(QStringLiteral("行情来源: 新浪  价格更新于 ")));
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
    QCOMPARE(profit(), QStringLiteral("481.1"));  // 499.5 - (8.25 + 5 + 5 + 0.15)
    fees.RadioButton2->setChecked(true);
    QCOMPARE(profit(), QStringLiteral("480.92"));  // 499.5 - (8.25 + 5 + 5 + 0.16 + 0.17)
    fees.Edit5->setText("x");
    QCOMPARE(profit(), QStringLiteral("—"));
    QVERIFY(live->statusLine()->toolTip().contains(QStringLiteral("费率设置有误")));
    fees.Edit5->setText("0.5");

    // A lot added in the manager shows at once, and its code is asked of the feed.
    holdings->SpeedButton1Click();
    holdings->SpinEdit1->setText("601988");
    holdings->Edit1->setText("3");
    holdings->SpinEdit2->setText("100");
    holdings->SpeedButton4Click();
    QCOMPARE(live->figures()->index(3, LiveHoldingsWindow::kCode).data().toString(),
             QStringLiteral("601988"));
    QTRY_COMPARE(server.requests.size(), 2);
    QCOMPARE(server.path(1), QByteArray("/list=sz000002,sz300999,sh600000,sh601988"));

    // Opening again focuses the same window; closed, it asks the feed for nothing.
    holdings->SpeedButton11->click();
    QCOMPARE(LiveHoldingsWindow::instance, live);
    live->close();
    QTRY_VERIFY(LiveHoldingsWindow::instance.isNull());
    QCOMPARE(feed.codes(), QStringList());
    delete holdings;
    settings::Install(nullptr, nullptr);
    QDir::setCurrent(QDir::tempPath());
}

void TestLiveHoldingsWindow::longListKeepsEveryColumn() {
    // More codes than the list shows: a vertical scroll bar, and no column pushed out of sight
    // behind a sideways one.
    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    QVERIFY(storage::Database::Create(storage::DatabaseFileName()));
    for (int i = 1; i <= 12; ++i) {
        QVERIFY(storage::Database().Insert(
            storage::kGmm, {{"MID", QString::number(600000 + i)}, {"MONEY", 10}, {"NUMS", 100}}));
    }
    FakeSettings system;
    TSETDlg fees;
    settings::Install(&fees, &system);
    holdings::Book book;
    holdings::LiveSession session(nullptr, &book, settings::Fees());
    LiveHoldingsWindow *live = LiveHoldingsWindow::Open(&session);
    QTRY_VERIFY(live->list()->verticalScrollBar()->isVisible());
    QVERIFY(!live->list()->horizontalScrollBar()->isVisible());
    QVERIFY(live->list()->horizontalHeader()->length() <= live->list()->viewport()->width());
    live->close();
    QTRY_VERIFY(LiveHoldingsWindow::instance.isNull());
    settings::Install(nullptr, nullptr);
    QDir::setCurrent(QDir::tempPath());
}

QTEST_MAIN(TestLiveHoldingsWindow)
#include "test_live_holdings_window.moc"
