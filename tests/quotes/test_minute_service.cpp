// The minute service: its reply read into rows, and the client's bounds.

#include "quotes/minute_service.h"
#include "support/fake_quote_server.h"

#include <QSignalSpy>
#include <QtTest>

using quotes::MinuteReply;

Q_DECLARE_METATYPE(std::optional<quotes::MinuteReply>)

namespace {

QByteArray Reply(const QByteArray &code, const QByteArray &rows,
                 const QByteArray &date = "20260302") {
    return R"({"code":0,"data":{")" + code + R"(":{"data":{"data":[)" + rows + R"(],"date":")" +
           date + R"("},"qt":{")" + code +
           R"(":["1","浦发银行","600000","10.60","10.50","10.52"]}}}})";
}

// "day|close|name|HHMM price volume amount;...|broken"
QString Summary(const std::optional<MinuteReply> &reply) {
    if (!reply) {
        return QStringLiteral("none");
    }
    QStringList rows;
    for (const quotes::MinuteRow &row : reply->rows) {
        rows.append(QStringLiteral("%1%2 %3 %4 %5")
                        .arg(row.hour, 2, 10, QChar(u'0'))
                        .arg(row.minute, 2, 10, QChar(u'0'))
                        .arg(row.price)
                        .arg(row.volume)
                        .arg(row.amount, 0, 'f', 0));
    }
    return QStringLiteral("%1|%2|%3|%4|%5")
        .arg(reply->day.toString(Qt::ISODate),
             reply->previousClose ? QString::number(*reply->previousClose) : QStringLiteral("-"),
             reply->name, rows.join(u';'), QString::number(reply->broken));
}

}  // namespace

class TestMinuteService : public QObject {
    Q_OBJECT
private slots:
    void parse_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("summary");
        QTest::newRow("good, lots into shares")
            << Reply("sh600000", R"("0930 10.50 12 12600.00","0931 10.55 30 31560.00")")
            << "2026-03-02|10.5|浦发银行|0930 10.5 1200 12600;0931 10.55 3000 31560|0";
        QTest::newRow("broken rows left out, the rest kept")
            << Reply("sh600000", R"("0931 abc 1 1","0932 0.00 1 1","0933 -1 1 1","0934 10.5",)"
                                 R"(7,"0935 10.5 1e5 1","0936 10.6 -5 1","0937 10.7 5 9")")
            << "2026-03-02|10.5|浦发银行|0937 10.7 500 9|7";
        QTest::newRow("day from the quote time when the list names none")
            << QByteArray(
                   R"({"data":{"sh600000":{"data":{"data":[]},"qt":{"sh600000":)"
                   R"(["1","x","600000","1","2",)"
                   R"("","","","","","","","","","","","","","","","","","","","","","","","",)"
                   R"("","20260303150003"]}}}})")
            << "2026-03-03|2|x||0";
        QTest::newRow("reply for another code")
            << Reply("sz000001", R"("0930 10.50 12 12600")") << "none";
        QTest::newRow("not JSON") << QByteArray("v_sh600000=\"1~x\";") << "none";
        QTest::newRow("no minute list")
            << QByteArray(R"({"data":{"sh600000":{"data":{}}}})") << "none";
        QTest::newRow("list not an array")
            << QByteArray(R"({"data":{"sh600000":{"data":{"data":"0930 1 1 1"}}}})") << "none";
    }
    void parse() {
        QFETCH(QByteArray, json);
        QTEST(Summary(quotes::ParseMinuteReply(json, QStringLiteral("sh600000"))), "summary");
    }

    void client_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("flood");
        QTest::addColumn<bool>("hang");
        QTest::addColumn<QString>("error");
        QTest::newRow("answer") << 200 << false << false << "";
        QTest::newRow("HTTP error") << 503 << false << false << "分时服务请求失败";
        QTest::newRow("over 1 MB") << 200 << true << false << "分时数据过大,已拒收";
        QTest::newRow("no answer") << 200 << false << true << "分时服务无响应";
    }
    void client() {
        QFETCH(int, status);
        FakeQuoteServer server;
        server.status = status;
        QFETCH(bool, flood);
        QFETCH(bool, hang);
        server.flood = flood;
        server.hang = hang;
        server.body = Reply("sh600000", R"("0930 10.50 12 12600")");
        qputenv("STOCKCALC_MINUTE_URL", server.url().toUtf8());
        quotes::MinuteClient client(nullptr, 1500);
        QSignalSpy finished(&client, &quotes::MinuteClient::finished);
        client.fetch(QStringLiteral("600000"));
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 5000);
        QCOMPARE(server.path(0), QByteArray("/appstock/app/minute/query?code=sh600000"));
        QTEST(finished[0][2].toString(), "error");
        QCOMPARE(finished[0][1].value<std::optional<MinuteReply>>().has_value(),
                 status == 200 && !flood && !hang);
    }
};

QTEST_GUILESS_MAIN(TestMinuteService)
#include "test_minute_service.moc"
