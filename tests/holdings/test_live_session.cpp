// The live session over a book on a real database file: what it subscribes, and which figures
// follow the lots, the readings and the fees in force.

#include "holdings/live_session.h"
#include "support/fake_quote_server.h"
#include "support/fake_settings.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// "code quantity average price value profit percent" of every row.
QStringList Shown(const holdings::LiveSession &session) {
    QStringList rows;
    for (const holdings::LiveRow &row : session.rows()) {
        rows.append(QStringList{row.code, row.quantityText, row.averageText, row.priceText,
                                row.valueText, row.profitText, row.percentText}
                        .join(u' '));
    }
    return rows;
}

quotes::FeedReading Reading(const QString &code, const QString &price) {
    quotes::FeedReading reading;
    reading.quotes.insert(code, quotes::QuoteDetail{price, {}, {}, {}});
    return reading;
}

QDateTime InSession() {
    return QDateTime(QDate(2026, 3, 5), QTime(10, 0), quotes::BeijingTime());
}

}  // namespace

class TestLiveSession : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void figures_data();
    void figures();
    void subscribesTheCodesHeldWhileSomeoneLooks();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestLiveSession::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    QVERIFY(storage::Database::Create(storage::DatabaseFileName()));
    holdings::Book book;
    QVERIFY(book.add({0, "600000", 10, 1000}).done());
    QVERIFY(book.add({0, "000002", 5, 100}).done());
    QVERIFY(book.add({0, "600000", 12, 500}).done());
}

void TestLiveSession::cleanup() {
    QDir::setCurrent(QDir::tempPath());
}

void TestLiveSession::figures_data() {
    // What happens after the session started and a reading priced 600000 at 11.
    QTest::addColumn<QString>("then");
    QTest::addColumn<QStringList>("rows");
    const QString noPrice = "000002 100 5  — — —";
    QTest::newRow("priced by code")
        << "" << QStringList{noPrice, "600000 1500 10.667 11.00 16500.00 384.00 +2.40%"};
    QTest::newRow("a reading without the code keeps its price")
        << "reading of 000002"
        << QStringList{"000002 100 5 5.50 550.00 39.45 +7.89%",
                       "600000 1500 10.667 11.00 16500.00 384.00 +2.40%"};
    QTest::newRow("a reading while no one looks is passed over")
        << "stop, reading of 000002"
        << QStringList{noPrice, "600000 1500 10.667 11.00 16500.00 384.00 +2.40%"};
    QTest::newRow("a lot deleted in the book")
        << "remove lot 3" << QStringList{noPrice, "600000 1000 10 11.00 11000.00 925.00 +9.25%"};
    QTest::newRow("a code held again has no price from before")
        << "re-buy 600000" << QStringList{noPrice, "600000 100 10  — — —"};
    QTest::newRow("a code sold out is not held")
        << "add 000002 -100" << QStringList{"600000 1500 10.667 11.00 16500.00 384.00 +2.40%"};
    // 499.5 - (8.25 + 5 + 5 + 0.15)
    QTest::newRow("the fees in force") << "today's fees"
                                       << QStringList{noPrice,
                                                      "600000 1500 10.667 11.00 16500.00 "
                                                      "481.10 +3.01%"};
}

void TestLiveSession::figures() {
    QFETCH(QString, then);
    QFETCH(QStringList, rows);
    FakeSettings fees;
    holdings::Book book;
    holdings::LiveSession session(nullptr, &book, fees.inForce);
    session.start();
    QCOMPARE(session.codes(), (QStringList{"000002", "600000"}));
    session.apply(Reading("600000", "11.000"));
    if (then.startsWith("stop")) {
        session.stop();
    }
    if (then.endsWith("reading of 000002")) {
        session.apply(Reading("000002", "5.500"));
    } else if (then == "remove lot 3") {
        QVERIFY(book.remove(3).done());
    } else if (then == "re-buy 600000") {
        QVERIFY(book.remove(1).done() && book.remove(3).done());
        QVERIFY(book.add({0, "600000", 10, 100}).done());
    } else if (then == "add 000002 -100") {
        QVERIFY(book.add({0, "000002", 5, -100}).done());
    } else if (then == "today's fees") {
        const numbers::FeeTexts today{"0", "0.5", "0.25", "0.25", "0.01", "0.01", "5"};
        for (std::size_t field = 0; field < today.size(); ++field) {
            fees.setFee(field, today[field]);  // the figures follow each change
        }
    }
    QCOMPARE(Shown(session), rows);
}

void TestLiveSession::subscribesTheCodesHeldWhileSomeoneLooks() {
    FakeQuoteServer server;
    server.body = QuoteLine("sh600000", "浦发银行", "11.000");
    qputenv("STOCKCALC_QUOTE_URL", server.url().toUtf8());
    qputenv("STOCKCALC_QUOTE_FALLBACK_URL", server.url().toUtf8());
    FakeSettings fees;
    quotes::QuoteFeed feed(quotes::TradingCalendar({}, InSession));
    holdings::Book book;
    holdings::LiveSession session(&feed, &book, fees.inForce);
    QCOMPARE(feed.codes(), QStringList());
    session.start();
    QCOMPARE(feed.codes(), (QStringList{"000002", "600000"}));
    QTRY_COMPARE(session.rows().last().priceText, QStringLiteral("11.00"));
    QCOMPARE(session.rows().last().name, QStringLiteral("浦发银行"));
    QVERIFY(session.status().text.startsWith(QStringLiteral("行情来源: 新浪")));
    QVERIFY(book.add({0, "601988", 3, 100}).done());
    QCOMPARE(feed.codes(), (QStringList{"000002", "600000", "601988"}));
    session.stop();
    QCOMPARE(feed.codes(), QStringList());
    QVERIFY(book.remove(1).done());
    QCOMPARE(feed.codes(), QStringList());  // the book's changes subscribe nothing unseen
}

QTEST_GUILESS_MAIN(TestLiveSession)
#include "test_live_session.moc"
