#pragma once
// The monitor's rows as data and the rules over them: the timing of readings and alarm
// tests, the prices a reading brings, the alarm test with its marks and colours, and what
// the status line says about a reading. The window only shows what these give it.

#include <QChar>
#include <QList>
#include <QString>
#include <QTime>

#include <cstdint>
#include <optional>

namespace monitor {

// Prices are read every 5 seconds; the alarm test runs every 2 seconds once the first
// reading is due.
inline constexpr int kReadingPeriodMs = 5000;
inline constexpr int kAlarmTestPeriodMs = 2000;

struct MonitorRow {
    QString code;
    QString name;
    QString price;  // the current price as the service wrote it; empty until it gave one
    QString upper;  // the band's price texts as stored
    QString lower;
    bool alarmOn = true;
    QChar mark = u'0';  // '0' until the row first alarms, then '+' or '-'
};

struct AlarmTestResult {
    QList<QChar> marks;       // each row's mark after the test
    QList<uint32_t> colours;  // each row's text colour, 0xRRGGBB
    // A row with its alarm on is at or beyond an edge of its band: the monitor shows itself
    // and sounds once.
    bool alarm = false;
};

// The alarm test over all rows. A row with its alarm off keeps its mark; a row that cannot
// be judged (no price yet, a text that is no number) is passed over, the rows below it are
// still tested. Marks latch: a row back inside its band keeps its mark and colour.
AlarmTestResult TestAlarms(const QList<MonitorRow> &rows);

// Writes the prices a reading brought into the rows, in order; a row the reading brought
// nothing for keeps its price. Returns how many rows kept their price that way.
qsizetype ApplyPrices(QList<MonitorRow> &rows, const QList<std::optional<QString>> &prices);

struct ReadingStatus {
    QString text;
    bool problem = false;  // shown in red
};

// The status line after a reading at `at`: its error (empty when none) and how many of
// `total` rows kept an old price.
ReadingStatus DescribeReading(const QString &error, qsizetype kept, qsizetype total,
                              const QTime &at);

}  // namespace monitor
