// The intraday chart window against a local minute service, after the close of a trading day.

#include "chart/intraday_chart_window.h"
#include "platform/fake/fake_platform.h"
#include "quotes/quote_feed.h"
#include "support/fake_quote_server.h"
#include "support/offscreen_warnings.h"

#include <QMouseEvent>
#include <QtTest>

namespace {

const QByteArray kDay = R"({"code":0,"data":{"sh600000":{"data":{"data":[)"
                        R"("0930 10.50 100 105000.00","0931 10.60 250 264000.00",)"
                        R"("1130 10.40 300 316500.00","1301 10.45 400 421000.00",)"
                        R"("1500 10.80 500 529000.00"],"date":"20260306"},)"
                        R"("qt":{"sh600000":["1","浦发银行","600000","10.80","10.00"]}}}})";

// Friday 6 March 2026, an hour after the close.
QDateTime AfterTheClose() {
    return QDateTime(QDate(2026, 3, 6), QTime(16, 0), quotes::BeijingTime());
}

void MoveTo(QWidget *widget, int x) {
    QMouseEvent move(QEvent::MouseMove, QPointF(x, widget->height() / 3),
                     widget->mapToGlobal(QPointF(x, widget->height() / 3)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}

}  // namespace

class TestChartWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        FilterOffscreenWarnings();
        platform::Install(std::make_unique<platform::FakePlatform>());
    }
    void init() {
        m_server = std::make_unique<FakeQuoteServer>();
        qputenv("STOCKCALC_MINUTE_URL", m_server->url().toUtf8());
        m_quotes = std::make_unique<FakeQuoteServer>();
        qputenv("STOCKCALC_QUOTE_URL", m_quotes->url().toUtf8());
        qputenv("STOCKCALC_QUOTE_FALLBACK_URL", m_quotes->url().toUtf8());
        m_now = AfterTheClose();
        m_feed = std::make_unique<quotes::QuoteFeed>(
            quotes::TradingCalendar({}, [this] { return m_now; }));
    }
    void cleanup() {
        if (IntradayChartWindow *open = IntradayChartWindow::Find(QStringLiteral("600000"))) {
            open->close();
        }
        QTRY_VERIFY(!IntradayChartWindow::Find(QStringLiteral("600000")));
    }

    void readoutAtTheMouse_data() {
        QTest::addColumn<int>("slot");  // -1: the mouse is elsewhere
        QTest::addColumn<QString>("readout");
        QTest::newRow("elsewhere: the latest")
            << -1 << "15:00  价 10.80  涨跌 +8.00%  均价 10.58  量 100手";
        QTest::newRow("opening") << 0 << "09:30  价 10.50  涨跌 +5.00%  均价 10.50  量 100手";
        QTest::newRow("second minute") << 1 << "09:31  价 10.60  涨跌 +6.00%  均价 10.56  量 150手";
        QTest::newRow("no minute there: the one before")
            << 60 << "09:31  价 10.60  涨跌 +6.00%  均价 10.56  量 150手";
        QTest::newRow("after lunch") << 121 << "13:01  价 10.45  涨跌 +4.50%  均价 10.53  量 100手";
    }
    void readoutAtTheMouse() {
        QFETCH(int, slot);
        m_server->body = kDay;
        const chart::ChartLines lines{10.2, 10.26, 11.0, 9.5};
        IntradayChartWindow *window = IntradayChartWindow::Open(
            {QStringLiteral("600000"), QStringLiteral("浦发银行"), lines}, m_feed.get());
        QCOMPARE(window->TitleBar->title()->text(), QStringLiteral("浦发银行(600000) 分时"));
        QTRY_VERIFY(window->Readout->text().startsWith(u"15:00"));
        if (slot >= 0) {
            MoveTo(window->Chart, window->Chart->xOf(slot));
        }
        QTEST(window->Readout->text(), "readout");
        if (slot >= 0) {
            QEvent leave(QEvent::Leave);
            QCoreApplication::sendEvent(window->Chart, &leave);
            QVERIFY(window->Readout->text().startsWith(u"15:00"));
        }
        // Opening the code again shows the same window and asks nothing more; after the
        // close no reading is subscribed.
        QCOMPARE(IntradayChartWindow::Open({QStringLiteral("600000"), {}, lines}, m_feed.get()),
                 window);
        QCOMPARE(m_server->requests.size(), 1);
        QVERIFY(m_feed->codes().isEmpty());
    }

    void linesInPriceOrderInsideTheChart() {
        m_server->body = kDay;
        IntradayChartWindow *window = IntradayChartWindow::Open(
            {QStringLiteral("600000"), QStringLiteral("浦发银行"), {10.2, 10.26, 11.0, 9.5}},
            m_feed.get());
        QTRY_VERIFY(window->Readout->text().startsWith(u"15:00"));
        QStringList labels;
        int lastY = -1;
        auto levels = window->Chart->levels();
        std::sort(levels.begin(), levels.end(),
                  [](const auto &a, const auto &b) { return a.price > b.price; });
        for (const auto &level : levels) {
            labels.append(level.label);
            QVERIFY2(level.y > lastY && level.y < window->Chart->height() * 3 / 4,
                     qPrintable(level.label));
            QVERIFY(level.y > 0);
            lastY = level.y;
        }
        QCOMPARE(labels.join(u' '), QStringLiteral("上限 保本 成本 昨收 下限"));
    }

    void withoutTheMinuteServiceItSaysSo() {
        m_server->status = 500;
        IntradayChartWindow *window = IntradayChartWindow::Open(
            {QStringLiteral("600000"), QStringLiteral("浦发银行"), {}}, m_feed.get());
        QTRY_VERIFY(window->Status->text().contains(u"分时数据不完整"));
        QCOMPARE(window->Readout->text(), QStringLiteral("暂无分时数据"));
    }

    void readingsFollowTheTradingDay() {
        // Monday morning: the service still gives Friday; the chart follows the readings.
        m_now = QDateTime(QDate(2026, 3, 9), QTime(9, 40), quotes::BeijingTime());
        m_server->body = kDay;
        IntradayChartWindow *window = IntradayChartWindow::Open(
            {QStringLiteral("600000"), QStringLiteral("浦发银行"), {}}, m_feed.get());
        QTRY_VERIFY(window->Readout->text().startsWith(u"15:00"));
        QCOMPARE(m_feed->codes(), QStringList{QStringLiteral("600000")});
        const auto read = [this](const QString &price, qint64 volume) {
            quotes::FeedReading reading;
            quotes::QuoteDetail quote;
            quote.price = price;
            quote.previousClose = QStringLiteral("10.800");
            quote.time = m_now;
            quote.volume = volume;
            quote.amount = volume * price.toDouble();
            reading.quotes.insert(QStringLiteral("600000"), quote);
            emit m_feed->readingDone(reading);
        };
        read(QStringLiteral("10.900"), 100000);
        QCOMPARE(window->Readout->text(),
                 QStringLiteral("09:41  价 10.90  涨跌 +0.93%  均价 10.90  量 1000手"));
        QCOMPARE(m_server->requests.size(), 1);  // the day the window was opened on
        // Tuesday: a reading of the new day asks the service once more.
        m_now = QDateTime(QDate(2026, 3, 10), QTime(9, 31), quotes::BeijingTime());
        read(QStringLiteral("11.000"), 5000);
        read(QStringLiteral("11.100"), 4000);  // a counter going back: no negative bar
        QTRY_COMPARE(m_server->requests.size(), 2);
        QVERIFY(window->Readout->text().startsWith(u"09:32  价 11.10  涨跌 +2.78%"));
        QVERIFY(window->Readout->text().endsWith(u"量 50手"));
    }

private:
    QDateTime m_now;
    std::unique_ptr<FakeQuoteServer> m_quotes;
    std::unique_ptr<FakeQuoteServer> m_server;
    std::unique_ptr<quotes::QuoteFeed> m_feed;
};

QTEST_MAIN(TestChartWindow)
#include "test_chart_window.moc"
