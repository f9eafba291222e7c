#pragma once
// The monitor's rows as data and the rules over them: the timing of alarm tests, the prices a
// reading brings, the alarm test with its marks, and what the status line says about a
// reading. The watch session runs these; the views only show what it holds.

#include "quotes/quote_reading.h"

#include <QChar>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QTime>

#include <optional>

namespace monitor {

// The alarm test runs every 2 seconds once the first reading is due.
inline constexpr int kAlarmTestPeriodMs = 2000;

struct MonitorRow {
    QString code;
    QString name;
    QString price;          // the current price as shown; empty until a service gave one
    QString previousClose;  // with the price, for the tooltip
    QDateTime quoteTime;
    QString upper;  // the band's price texts as stored
    QString lower;
    bool alarmOn = true;
    QChar mark = u'0';  // '0' until the row first alarms, then '+' or '-'
    // Whether the row was at or beyond an edge of its band at its last alarm test.
    bool alarming = false;
};

struct AlarmTestResult {
    QList<QChar> marks;    // each row's mark after the test; its colour is MarkColour's
    QList<bool> alarming;  // each row's MonitorRow::alarming after the test
    // Rows that start to alarm in this test: at or beyond an edge now and not at the last
    // test, or now at the other edge. Each is told to the desktop once.
    QList<qsizetype> started;
    // A row with its alarm on is at or beyond an edge of its band: the monitor shows itself
    // and sounds once.
    bool alarm = false;
};

// The alarm test over all rows. A row with its alarm off keeps its mark; a row that cannot
// be judged (no price yet, a text that is no number) is passed over, the rows below it are
// still tested. Marks latch: a row back inside its band keeps its mark and colour.
AlarmTestResult TestAlarms(const QList<MonitorRow> &rows);

// Writes the quotes a reading brought into the rows, by code; a row the reading brought
// nothing for keeps its quote. Returns how many rows this reading gave no price
// (FeedReading::unpriced).
qsizetype ApplyPrices(QList<MonitorRow> &rows, const quotes::FeedReading &reading);

}  // namespace monitor
