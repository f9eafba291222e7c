// The minute series of a chart and the figures beside it.

#include "chart/chart_figures.h"
#include "chart/minute_series.h"
#include "quotes/trading_calendar.h"

#include <QTest>

#include <limits>

using namespace chart;

namespace {

// "2026-03-02 09:31:10 10.50 1000 10500;..." into readings (volume and amount may be "-").
QList<MinuteReading> Readings(const QString &text) {
    QList<MinuteReading> readings;
    for (const QString &one : text.split(u';', Qt::SkipEmptyParts)) {
        const QStringList f = one.split(u' ');
        MinuteReading reading;
        reading.time =
            QDateTime(QDate::fromString(f[0], Qt::ISODate),
                      QTime::fromString(f[1], QStringLiteral("HH:mm:ss")), quotes::BeijingTime());
        reading.price = f[2] == u"nan" ? std::numeric_limits<double>::quiet_NaN() : f[2].toDouble();
        if (f[3] != u"-") {
            reading.volume = f[3].toLongLong();
            reading.amount = f[4].toDouble();
        }
        readings.append(reading);
    }
    return readings;
}

// "09:31 10.5 1000 10.50 +" per minute held: time, price, own volume, average, colour.
QString Shown(const MinuteSeries &series) {
    QStringList shown;
    const MinuteSeries::Minutes minutes = series.derive();
    for (const Minute &minute : minutes.at) {
        if (minute.slot >= 0) {
            shown.append(QStringLiteral("%1 %2 %3 %4 %5")
                             .arg(SlotTime(minute.slot).toString(QStringLiteral("HH:mm")))
                             .arg(minute.price)
                             .arg(minute.volume)
                             .arg(minute.average ? QString::number(*minute.average, 'f', 2)
                                                 : QStringLiteral("-"))
                             .arg(QChar(minute.up ? u'+' : u'-')));
        }
    }
    return series.day().toString(Qt::ISODate) + u'|' + shown.join(u';');
}

}  // namespace

class TestChartCore : public QObject {
    Q_OBJECT
private slots:
    void minuteOfTime_data() {
        QTest::addColumn<QString>("time");
        QTest::addColumn<int>("slot");
        QTest::newRow("before the auction") << "09:14:59" << -1;
        QTest::newRow("auction") << "09:25:00" << 0;
        QTest::newRow("first trades") << "09:30:20" << 1;
        QTest::newRow("last morning second") << "11:29:59" << 120;
        QTest::newRow("late morning print") << "11:30:30" << 120;
        QTest::newRow("lunch") << "12:00:00" << -1;
        QTest::newRow("afternoon opens") << "13:00:10" << 121;
        QTest::newRow("last afternoon second") << "14:59:59" << 240;
        QTest::newRow("closing print") << "15:00:03" << 240;
        QTest::newRow("after the close") << "15:06:00" << -1;
    }
    void minuteOfTime() {
        QFETCH(QString, time);
        QTEST(SlotOfTime(QTime::fromString(time, QStringLiteral("HH:mm:ss"))), "slot");
    }

    void labels_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("slot");
        QTest::newRow("open") << "09:30" << 0;
        QTest::newRow("morning end") << "11:30" << 120;
        QTest::newRow("13:00 shares 11:30's place") << "13:00" << 120;
        QTest::newRow("afternoon") << "13:01" << 121;
        QTest::newRow("close") << "15:00" << 240;
        QTest::newRow("after close") << "15:01" << -1;
        QTest::newRow("before open") << "09:29" << -1;
        QTest::newRow("lunch") << "12:00" << -1;
    }
    void labels() {
        QFETCH(QString, label);
        QFETCH(int, slot);
        const QTime time = QTime::fromString(label, QStringLiteral("HH:mm"));
        QCOMPARE(SlotOfLabel(time.hour(), time.minute()), slot);
        if (slot >= 0 && label != u"13:00") {
            QCOMPARE(SlotTime(slot), time);
        }
    }

    void folding_data() {
        QTest::addColumn<QString>("readings");
        QTest::addColumn<QString>("shown");
        QTest::newRow("last reading of a minute, differences of the counters")
            << "2026-03-02 09:30:10 10 1000 10000;2026-03-02 09:30:50 10.2 3000 30400;"
               "2026-03-02 09:31:05 9.9 4000 40400"
            << "2026-03-02|09:31 10.2 3000 10.13 +;09:32 9.9 1000 10.10 -";
        QTest::newRow("lunch closed up") << "2026-03-02 11:29:50 10 100 1000;"
                                            "2026-03-02 13:00:10 10 300 3000"
                                         << "2026-03-02|11:30 10 100 10.00 +;13:01 10 200 10.00 +";
        QTest::newRow("counter going backwards starts no negative bar")
            << "2026-03-02 09:31:00 10 1000 10000;2026-03-02 09:32:00 10 800 8000;"
               "2026-03-02 09:33:00 10 1200 12000"
            << "2026-03-02|09:32 10 1000 10.00 +;09:33 10 0 10.00 +;09:34 10 200 10.00 +";
        QTest::newRow("backwards within a minute keeps the higher count")
            << "2026-03-02 09:31:00 10 1000 10000;2026-03-02 09:31:30 10.1 900 9000"
            << "2026-03-02|09:32 10.1 1000 10.00 +";
        QTest::newRow("nothing outside the day, no bad price")
            << "2026-03-02 12:00:00 10 1 1;2026-03-02 15:10:00 10 1 1;"
               "2026-03-02 09:40:00 0 1 1;2026-03-02 09:41:00 nan 1 1;"
               "2026-03-02 09:42:00 -3 1 1;2026-03-02 09:43:00 10 - -"
            << "2026-03-02|09:44 10 0 - +";
        QTest::newRow("a later day starts afresh, an earlier one is left out")
            << "2026-03-02 14:00:00 10 1000 10000;2026-03-03 09:31:00 11 200 2200;"
               "2026-03-02 14:01:00 12 1 1"
            << "2026-03-03|09:32 11 200 11.00 +";
    }
    void folding() {
        QFETCH(QString, readings);
        MinuteSeries series;
        for (const MinuteReading &reading : Readings(readings)) {
            series.fold(reading);
        }
        QTEST(Shown(series), "shown");
    }

    void puts_data() {
        QTest::addColumn<QList<int>>("places");
        QTest::addColumn<QList<double>>("prices");
        QTest::addColumn<QString>("shown");
        QTest::newRow("duplicate keeps the last, out of order sorted")
            << QList<int>{2, 1, 1} << QList<double>{10.3, 10.1, 10.2}
            << "|09:31 10.2 200 - +;09:32 10.3 100 - +";
        QTest::newRow("outside the day and bad prices left out")
            << QList<int>{-1, 241, 3, 4} << QList<double>{10, 10, 0, 10} << "|09:34 10 500 - +";
    }
    void puts() {
        QFETCH(QList<int>, places);
        QFETCH(QList<double>, prices);
        MinuteSeries series;
        for (qsizetype i = 0; i < places.size(); ++i) {
            series.put(places[i], prices[i], (places[i] + 1) * 100, std::nullopt);
        }
        QTEST(Shown(series), "shown");
        QCOMPARE(series.count(), int(Shown(series).count(u';') + 1));
    }

    void readout_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<double>("price");
        QTest::addColumn<double>("previousClose");
        QTest::addColumn<qint64>("volume");
        QTest::addColumn<double>("average");
        QTest::addColumn<QString>("text");
        QTest::newRow("share, half up") << "600000" << 10.0125 << 10.0 << qint64(150) << 10.005
                                        << "10:00  价 10.01  涨跌 "
                                           "+0.13%  均价 10.01  量 2手";
        QTest::newRow("fall half up away from zero")
            << "000001" << 9.9875 << 10.0 << qint64(149) << 9.9949
            << "10:00  价 9.99  涨跌 "
               "-0.13%  均价 9.99  量 1手";
        QTest::newRow("fund three decimals") << "510300" << 4.1235 << 4.1235 << qint64(12345) << 4.1
                                             << "10:00  价 4.124  涨跌 "
                                                "0.00%  均价 4.100  量 123手";
        QTest::newRow("bond lots of ten") << "113050" << 120.5 << 100.0 << qint64(15) << 110.0
                                          << "10:00  价 120.500  涨跌 "
                                             "+20.50%  均价 110.000  量 2手";
    }
    void readout() {
        QFETCH(QString, code);
        QFETCH(double, price);
        QFETCH(double, previousClose);
        QFETCH(qint64, volume);
        QFETCH(double, average);
        const Minute minute{30, price, volume, average, true};
        QTEST(ReadoutText(minute, previousClose, QuotingOf(code)), "text");
    }

    void lines_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<double>("cost");  // 0: not held
        QTest::addColumn<int>("quantity");
        QTest::addColumn<bool>("fees");
        QTest::addColumn<bool>("watched");
        QTest::addColumn<QString>("lines");
        // Default fees: 1 ‰ stamp tax on selling, 3 ‰ commission each side, at least 5 yuan.
        QTest::newRow("share held and watched")
            << "000001" << 10.0 << 1000 << true << true << "10.000 10.080 11.000 9.000";
        QTest::newRow("fund: its tick, no stamp tax")
            << "510300" << 1.0 << 10000 << true << false << "1.000 1.007 - -";
        QTest::newRow("only watched") << "000001" << 0.0 << 0 << true << true << "- - 11.000 9.000";
        QTest::newRow("fees that do not read: no break-even")
            << "000001" << 10.0 << 1000 << false << false << "10.000 - - -";
        QTest::newRow("sold down to nothing")
            << "000001" << 10.0 << 0 << true << false << "- - - -";
    }
    void lines() {
        QFETCH(QString, code);
        QFETCH(double, cost);
        QFETCH(int, quantity);
        QFETCH(bool, fees);
        QFETCH(bool, watched);
        const ChartLines lines =
            LinesFor(code, cost > 0 ? std::optional(Held{cost, quantity}) : std::nullopt,
                     watched ? std::optional(std::pair(11.0, 9.0)) : std::nullopt,
                     fees ? std::optional(numbers::FeeSchedule{}) : std::nullopt);
        QStringList shown;
        for (const auto &line : {lines.cost, lines.breakEven, lines.upper, lines.lower}) {
            shown.append(line ? QString::number(*line, 'f', 3) : QStringLiteral("-"));
        }
        QTEST(shown.join(u' '), "lines");
    }

    void quoteVolumesFold() {
        quotes::QuoteDetail quote;
        quote.price = QStringLiteral("10.500");
        quote.volume = 12000;
        quote.amount = 126000;
        const QDateTime at(QDate(2026, 3, 2), QTime(9, 45), quotes::BeijingTime());
        MinuteSeries series;
        QVERIFY(series.fold(ReadingOfQuote(quote, at)));
        QCOMPARE(Shown(series), QStringLiteral("2026-03-02|09:46 10.5 12000 10.50 +"));
    }
};

QTEST_GUILESS_MAIN(TestChartCore)
#include "test_chart_core.moc"
