// The market rule, both quote services' replies, the choice between them, the trading
// calendar and the desktop notification of an alarm.

#include "monitor/alarm_notifier.h"
#include "quotes/market.h"
#include "quotes/quote_detail.h"
#include "quotes/quote_protocol.h"
#include "quotes/quote_source_policy.h"
#include "quotes/tencent_protocol.h"
#include "quotes/trading_calendar.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QSignalSpy>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

using quotes::QuoteDetails;

namespace {

const QString kMainLine = QStringLiteral(
    "var hq_str_sh600000=\"浦发银行,15.100,15.000,15.320,15.400,15.050,15.310,15.320,32745812,"
    "500123456.000,12300,15.310,45600,15.300,7800,15.290,9900,15.280,1200,15.270,3400,15.320,"
    "5600,15.330,7800,15.340,9000,15.350,1100,15.360,2026-03-05,14:35:02,00\";\n");
const QString kFallbackLine = QStringLiteral(
    "v_sz159915=\"51~创业板ETF~159915~2.345~2.300~2.310~1234567~600000~634567~2.344~100~2.343~"
    "200~2.342~300~2.341~400~2.340~500~2.346~100~2.347~200~2.348~300~2.349~400~2.350~500~~"
    "20260305143502~0.045~1.96~2.350~2.300~2.345/1234567/289012345~1234567~28901~2.10~~\";\n");

QDateTime Beijing(const char *text) {
    const QDateTime wall = QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate);
    return QDateTime(wall.date(), wall.time(), quotes::BeijingTime());
}

// The notification service as the test plays it, on a connection of its own.
class FakeNotifications final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QStringList calls;  // "summary|replaces"
    QString fields;     // "app|icon|desktop entry|actions" of the last call

public slots:
    uint Notify(const QString &app, uint replaces, const QString &icon, const QString &summary,
                const QString &, const QStringList &actions, const QVariantMap &hints, int) {
        calls.append(summary + u'|' + QString::number(replaces));
        fields = QStringList{app, icon, hints.value(QStringLiteral("desktop-entry")).toString(),
                             actions.join(u',')}
                     .join(u'|');
        return replaces != 0 ? replaces : 40 + static_cast<uint>(calls.size());
    }
};

}  // namespace

class TestMarketData : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void market_data();
    void market();
    void instrumentClass_data();
    void instrumentClass();
    void replies_data();
    void replies();
    void dayTotals_data();
    void dayTotals();
    void tooltip_data();
    void tooltip();
    void fallbackUrls();
    void switchOverAndBack();
    void calendar_data();
    void calendar();
    void readingsFollowTheSessions();
    void closureListsAreReadWhole_data();
    void closureListsAreReadWhole();
    void notifications();
};

void TestMarketData::initTestCase() {
    // Far from Beijing, so a rule that used the desktop's zone would show.
    qputenv("TZ", "America/New_York");
}

void TestMarketData::market_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("prefix");
    for (const char *row :
         {"430047 bj", "830799 bj", "920118 bj", "510300 sh", "600000 sh", "688981 sh",
          "700001 sh", "900901 sh", "110059 sh", "111010 sh", "113050 sh", "118000 sh",
          "132001 sh", "204001 sh", "000001 sz", "159915 sz", "160105 sz", "123018 sz",
          "112001 sz", "131810 sz", "200596 sz", "300750 sz", "019547 sh", "020301 sh"}) {
        const QStringList cells = QString::fromLatin1(row).split(u' ');
        QTest::newRow(row) << cells[0] << cells[1];
    }
}

void TestMarketData::market() {
    QFETCH(QString, code);
    QFETCH(QString, prefix);
    QCOMPARE(quotes::market::Prefixed(code), prefix + code);
}

void TestMarketData::instrumentClass_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    for (const char *row :
         {"510300 基金", "508000 基金", "588000 基金", "159915 基金", "161725 基金", "180101 基金",
          "113052 债券", "110059 债券", "118000 债券", "019547 债券", "204001 债券", "123015 债券",
          "127045 债券", "128136 债券", "131810 债券", "112001 债券", "600000 股票", "688981 股票",
          "900901 股票", "000001 股票", "300750 股票", "301000 股票", "200002 股票", "920118 股票",
          "830799 股票", "430047 股票", "140001 股票", "x 股票",      " 股票"}) {
        const QStringList cells = QString::fromUtf8(row).split(u' ');
        QTest::newRow(row) << cells[0] << cells[1];
    }
}

void TestMarketData::instrumentClass() {
    QFETCH(QString, code);
    QFETCH(QString, name);
    QCOMPARE(numbers::ClassName(quotes::market::ClassOf(code)), name);
}

void TestMarketData::replies_data() {
    QTest::addColumn<bool>("main");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");  // code=price/previous close/time/name; "none": no reply
    QTest::addColumn<bool>("failed");    // a failed reading of the main service

    const QString good = kMainLine;
    const QString spdb = QStringLiteral("sh600000=15.320/15.000/20260305143502/浦发银行");
    QTest::newRow("main service") << true << good + "var hq_str_sz999999=\"\";\n"
                                  << spdb + " sz999999=///" << false;
    QTest::newRow("second service, same price text")
        << false
        << kFallbackLine + "v_pv_none_match=\"1\";\n" +
               QString(kFallbackLine)
                   .replace("sz159915", "sh600000")
                   .replace("2.345", "15.32")
                   .replace("2.300", "15.00")
        << "sh600000=15.320/15.000/20260305143502/创业板ETF "
           "sz159915=2.345/2.300/20260305143502/创业板ETF"
        << false;
    QTest::newRow("cut off after the price's first digits")
        << true << good + QString(good.left(good.indexOf(u"15.32") + 4)).replace("sh6", "sz6")
        << spdb << false;
    QTest::newRow("price not a number")
        << true << QString(good).replace(QStringLiteral("15.320"), QStringLiteral("15.3x0")) << ""
        << false;
    QTest::newRow("exponent, sign, blank and 0 are no prices")
        << false
        << QStringLiteral(
               "v_sh1=\"1~a~1~1e3~\";v_sh2=\"1~a~2~-1~\";v_sh3=\"1~a~3~ 2~\";"
               "v_sh4=\"1~a~4~0.000~\";v_sh5=\"1~a~5~9.5~x~bad\";")
        << "sh5=9.500///a" << false;
    QTest::newRow("replacement characters in the price")
        << false << QStringLiteral("v_sh6=\"1~a~6~1\uFFFD.5~1\";") << "" << false;
    QTest::newRow("no value at all")
        << true << QStringLiteral("<html>502</html>") << "none" << true;
    QTest::newRow("all FAILED or empty")
        << true << "var hq_str_sh600000=\"FAILED\";\nvar hq_str_sz000001=\"\";\n"
        << "sz000001=///" << true;
    QTest::newRow("10 MB") << true << good + QString(10 << 20, u'~') + good.left(40) << spdb
                           << false;
}

void TestMarketData::replies() {
    QFETCH(bool, main);
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QFETCH(bool, failed);
    // The replies travel as GBK bytes.
    text = QStringDecoder("GBK").decode(QStringEncoder("GBK").encode(text));
    const std::optional<QuoteDetails> parsed =
        main ? quotes::ParseMainQuoteDetails(text) : quotes::ParseFallbackReply(text);
    const QuoteDetails details = parsed.value_or(QuoteDetails());
    QStringList found;
    for (auto it = details.cbegin(); it != details.cend(); ++it) {
        found.append(
            QStringLiteral("%1=%2/%3/%4/%5")
                .arg(it.key(), it->price, it->previousClose,
                     it->time.toTimeZone(quotes::BeijingTime()).toString(u"yyyyMMddHHmmss"),
                     it->name));
    }
    found.sort();
    QCOMPARE(parsed ? found.join(u' ') : QStringLiteral("none"), shown);
    QCOMPARE(main && quotes::IsFailedMainReply(text), failed);
}

void TestMarketData::dayTotals_data() {
    QTest::addColumn<bool>("main");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("totals");  // shares/yuan of the one code; "-": none

    const QString fallback = kFallbackLine;
    QTest::newRow("main: shares and yuan") << true << kMainLine << "32745812/500123456.00";
    QTest::newRow("main: neither reads")
        << true << QString(kMainLine).replace("32745812,500123456.000", "3.2e7,") << "-/-";
    QTest::newRow("main: a fractional volume is no count")
        << true << QString(kMainLine).replace("32745812,", "32745812.5,") << "-/500123456.00";
    QTest::newRow("second: lots and the exact yuan")
        << false << fallback << "123456700/289012345.00";
    QTest::newRow("second: 10,000 yuan without the combined field")
        << false << QString(fallback).replace("2.345/1234567/289012345", "")
        << "123456700/289010000.00";
    QTest::newRow("second: no lots")
        << false << QString(fallback).replace("~1234567~600000", "~~600000") << "-/289012345.00";
}

void TestMarketData::dayTotals() {
    QFETCH(bool, main);
    QFETCH(QString, text);
    QFETCH(QString, totals);
    const QuoteDetails details =
        (main ? quotes::ParseMainQuoteDetails(text) : quotes::ParseFallbackReply(text))
            .value_or(QuoteDetails());
    QCOMPARE(details.size(), 1);
    const quotes::QuoteDetail &quote = *details.cbegin();
    QCOMPARE(QStringLiteral("%1/%2").arg(
                 quote.volume ? QString::number(*quote.volume) : QStringLiteral("-"),
                 quote.amount ? QString::number(*quote.amount, 'f', 2) : QStringLiteral("-")),
             totals);
}

void TestMarketData::tooltip_data() {
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("previous");
    QTest::addColumn<QDateTime>("time");
    QTest::addColumn<QString>("tooltip");
    const QDateTime at = Beijing("2026-03-05T14:35:02").toUTC();
    QTest::newRow("up") << "15.32"
                        << "15.00" << at << "涨跌幅 +2.13%  行情时间 14:35:02";
    QTest::newRow("down, no time") << "9.90"
                                   << "10.000" << QDateTime() << "涨跌幅 -1.00%";
    QTest::newRow("no previous close") << "10.00"
                                       << "" << at << "行情时间 14:35:02";
}

void TestMarketData::tooltip() {
    QFETCH(QString, price);
    QFETCH(QString, previous);
    QFETCH(QDateTime, time);
    QFETCH(QString, tooltip);
    QCOMPARE(quotes::QuoteTooltip(price, previous, time), tooltip);
}

void TestMarketData::fallbackUrls() {
    QStringList codes;
    for (int i = 0; i < 121; ++i) {
        codes.append(QString::number(159000 + i));
    }
    codes[1] = QStringLiteral("6 0&");
    const QList<QUrl> urls =
        quotes::RequestUrls(quotes::FallbackQuoteService(QStringLiteral("http://h:1/")), codes);
    QCOMPARE(urls.size(), 3);
    QVERIFY(urls[0].toEncoded().startsWith("http://h:1/q=sz159000,sh6%200%26,sz159002"));
    QCOMPARE(urls[1].toEncoded().count(','), 59);
    QCOMPARE(urls[2].toEncoded(), QByteArray("http://h:1/q=sz159120"));
}

void TestMarketData::switchOverAndBack() {
    using quotes::QuoteSource;
    QDateTime now = Beijing("2026-03-05T10:00:00");
    quotes::QuoteSourcePolicy policy([&now] { return now; });
    auto reading = [&](bool mainOk) {
        const QuoteSource first = policy.firstSource();
        if (first == QuoteSource::Main) {
            policy.mainAnswered(mainOk);
        }
        now = now.addSecs(5);
        return first;
    };
    QCOMPARE(reading(false), QuoteSource::Main);  // one failure: still the main service first
    QCOMPARE(reading(true), QuoteSource::Main);
    QCOMPARE(reading(false), QuoteSource::Main);
    QCOMPARE(reading(false), QuoteSource::Main);  // the second in a row: over to the second
    QVERIFY(policy.switched());
    now = now.addSecs(290);
    QCOMPARE(reading(false), QuoteSource::Fallback);  // 4:55 after the last try
    QCOMPARE(reading(false), QuoteSource::Main);      // 5:00: tried again, fails
    QCOMPARE(reading(false), QuoteSource::Fallback);
    now = now.addSecs(300);
    QCOMPARE(reading(true), QuoteSource::Main);  // answers: back for good
    QVERIFY(!policy.switched());
    QCOMPARE(reading(false), QuoteSource::Main);
}

void TestMarketData::calendar_data() {
    QTest::addColumn<QDateTime>("instant");
    QTest::addColumn<bool>("open");
    QTest::addColumn<QDateTime>("nextOpening");
    // Beijing time, open or not, the next opening: 2026-03-06 is a Friday, 10-06 a closure day.
    for (const char *row :
         {"2026-03-05T09:14:59 0 2026-03-05T09:15:00", "2026-03-05T11:29:59 1 2026-03-05T13:00:00",
          "2026-03-05T11:30:00 0 2026-03-05T13:00:00", "2026-03-05T12:59:59 0 2026-03-05T13:00:00",
          "2026-03-06T15:00:01 0 2026-03-09T09:15:00", "2026-03-07T10:00:00 0 2026-03-09T09:15:00",
          "2026-10-06T10:00:00 0 2026-10-08T09:15:00",
          "2027-02-08T14:00:00 1 2027-02-09T09:15:00"}) {
        const QList<QByteArray> cells = QByteArray(row).split(' ');
        QTest::newRow(row) << Beijing(cells[0]) << (cells[1] == "1") << Beijing(cells[2]);
    }
}

void TestMarketData::calendar() {
    QFETCH(QDateTime, instant);
    QFETCH(bool, open);
    QFETCH(QDateTime, nextOpening);
    const quotes::TradingCalendar calendar = quotes::TradingCalendar::Shipped();
    QCOMPARE(calendar.isOpenAt(instant.toUTC()), open);
    QCOMPARE(calendar.nextOpening(instant.toUTC()), nextOpening);
}

void TestMarketData::readingsFollowTheSessions() {
    QDateTime now = Beijing("2026-03-05T20:00:00");
    const quotes::TradingCalendar calendar(QStringLiteral("2026-03-06 # closed\nnot a date\n"),
                                           [&now] { return now.toUTC(); });
    QVERIFY(calendar.readingDue({}));  // the first reading, whatever the time
    QVERIFY(!calendar.readingDue(now.addSecs(-5)));
    QDateTime last = Beijing("2026-03-09T11:29:58");
    now = Beijing("2026-03-09T11:30:03");
    QVERIFY(calendar.readingDue(last));  // the one after the session's end
    last = now;
    now = now.addSecs(5);
    QVERIFY(!calendar.readingDue(last));
    now = Beijing("2026-03-09T13:00:00");
    QVERIFY(calendar.readingDue(last));
    last = Beijing("2026-03-05T15:00:02");
    now = Beijing("2026-03-06T10:00:00");  // the listed closure day
    QVERIFY(!calendar.readingDue(last));
}

void TestMarketData::closureListsAreReadWhole_data() {
    QTest::addColumn<QByteArray>("list");  // the user's closure_days.txt
    QTest::addColumn<QDate>("day");        // a weekday the list names last
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QString>("logged");  // empty: nothing is said
    const QByteArray comments = QByteArray(79, '#') + '\n';
    QTest::newRow("past 64 KB") << comments.repeated(1000) + "2026-03-11\n"
                                << QDate(2026, 3, 11) << true << "";
    QTest::newRow("past 1 MB") << comments.repeated(14000) + "2026-03-12\n"
                               << QDate(2026, 3, 12) << false << "超过 1 MB";
    QTest::newRow("not a date") << QByteArray("2026-03-13\n2026-3-16\n\n# note\n")
                                << QDate(2026, 3, 13) << true << "1 行不是日期";
}

void TestMarketData::closureListsAreReadWhole() {
    QFETCH(QByteArray, list);
    QFETCH(QDate, day);
    QFETCH(bool, closed);
    QFETCH(QString, logged);
    QTemporaryDir home;
    QVERIFY(QDir(home.path()).mkpath(QStringLiteral("stockcalc")));
    QFile file(home.filePath(QStringLiteral("stockcalc/closure_days.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(list) == list.size());
    file.close();
    const QByteArray before = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path()));
    if (logged.isEmpty()) {
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
    } else {
        QTest::ignoreMessage(
            QtWarningMsg,
            QRegularExpression(QRegularExpression::escape(file.fileName()) + ".*" + logged));
    }
    const quotes::TradingCalendar calendar = quotes::TradingCalendar::Shipped();
    before.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", before);
    QCOMPARE(calendar.isTradingDay(day), !closed);
}

void TestMarketData::notifications() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        QSKIP("no session bus");
    }
    monitor::AlarmNotifier notifier(bus);
    QSignalSpy unavailable(&notifier, &monitor::AlarmNotifier::unavailable);
    QSignalSpy activated(&notifier, &monitor::AlarmNotifier::activated);
    notifier.notify(QStringLiteral("600000"), QStringLiteral("x"));
    QTRY_COMPARE(unavailable.size(), 1);  // nobody owns the name yet

    QDBusConnection service =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("service"));
    FakeNotifications fake;
    QVERIFY(service.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &fake,
                                   QDBusConnection::ExportAllSlots));
    QVERIFY(service.registerService(QStringLiteral("org.freedesktop.Notifications")));
    const QString summary = monitor::AlarmSummary(QStringLiteral("浦发银行"),
                                                  QStringLiteral("600000"), QStringLiteral("15.32"),
                                                  monitor::AlarmEdge::Upper, QStringLiteral("15"));
    notifier.notify(QStringLiteral("600000"), summary);
    notifier.notify(QStringLiteral("600000"), QStringLiteral("second"));  // before the answer
    notifier.notify(QStringLiteral("000001"), QStringLiteral("平安<银行>&(000001)"));
    QTRY_COMPARE(fake.calls.size(), 3);
    // The row's second notification replaces its first (id 41), never stacks.
    QCOMPARE(fake.calls, QStringList({"浦发银行(600000) 15.32 ≥ 上限 15|0", "平安<银行>&(000001)|0",
                                      "second|41"}));  // the summary is plain text, shown as typed
    QCOMPARE(
        fake.fields,
        QStringLiteral("股票收益计算器|dialog-information|stockcalc|default,查看监控股票价格"));
    QCOMPARE(unavailable.size(), 1);

    QDBusMessage invoked = QDBusMessage::createSignal(
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("ActionInvoked"));
    invoked << 42u << QStringLiteral("default");
    QVERIFY(service.send(invoked));
    QTRY_COMPARE(activated.size(), 1);
    QCOMPARE(activated[0][0].toString(), QStringLiteral("000001"));
    QDBusConnection::disconnectFromBus(QStringLiteral("service"));
}

QTEST_GUILESS_MAIN(TestMarketData)
#include "test_market_data.moc"
