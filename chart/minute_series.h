#pragma once
// The minutes of one trading day as a chart draws them: 241 minutes, 9:30 to 11:30 and 13:01
// to 15:00 with the lunch break closed up, each holding its last price and the cumulative
// volume and amount at its end. Readings are folded into the minute they fall in; whole
// minutes come from the minute service. The day is a fixed array: a series never grows.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

#include <array>
#include <optional>

namespace chart {

inline constexpr int kMinutesPerDay = 241;
// 11:30 and 13:00 share one place on the axis.
inline constexpr int kLunchSlot = 120;

// The minute a quote time (Beijing time) belongs to: the one that ends after it, so a trade at
// 9:30:20 counts to 09:31; the opening auction (9:15 on) counts to 09:30, the last prints of a
// session up to 11:30:59 and 15:04:59 to its last minute. -1 outside the day.
int SlotOfTime(const QTime &time);
// The minute a row of the minute service names ("HHMM"); -1 for one outside the day.
int SlotOfLabel(int hour, int minute);
// The time a minute is labelled with: 09:30 ... 11:30, 13:01 ... 15:00.
QTime SlotTime(int slot);

// A quote as the chart takes it: cumulative figures of the day so far, when the service gave
// them.
struct MinuteReading {
    QDateTime time;  // in Beijing time
    double price = 0;
    std::optional<qint64> volume;  // shares traded today
    std::optional<double> amount;  // yuan traded today
};

// One minute as drawn.
struct Minute {
    int slot = -1;
    double price = 0;
    qint64 volume = 0;              // shares traded in this minute, never below 0
    std::optional<double> average;  // cumulative amount / cumulative volume, when both exist
    bool up = true;                 // closed at or above the minute before
};

class MinuteSeries final {
public:
    explicit MinuteSeries(QDate day = {}) : m_day(day) {}

    QDate day() const { return m_day; }
    std::optional<double> previousClose() const { return m_previousClose; }
    void setPreviousClose(double price);

    // Starts another day: every minute is gone.
    void startDay(QDate day);

    // Folds a reading into its minute: its price becomes the minute's last price, its
    // cumulative figures the minute's. A reading of a later day starts that day; one of an
    // earlier day, outside the day's hours, or with a price that is not a finite number above
    // 0 is left out. False when left out.
    bool fold(const MinuteReading &reading);

    // Puts a whole minute as the minute service gives it; a minute given twice keeps the last.
    // False, and nothing kept, for a slot outside the day or a price not above 0.
    bool put(int slot, double price, std::optional<qint64> volume, std::optional<double> amount);

    bool empty() const { return m_count == 0; }
    int count() const { return m_count; }
    // The latest minute held; -1 when none.
    int latest() const;

    // The minutes held, in time order, with each minute's own volume: the rise of the
    // cumulative volume over the highest one before it, so a counter that goes backwards
    // starts no negative bar and counts nothing twice.
    struct Minutes {
        std::array<Minute, kMinutesPerDay> at{};  // by slot; slot -1 where nothing is held
        int count = 0;
    };
    Minutes derive() const;

private:
    struct Slot {
        bool held = false;
        double price = 0;
        std::optional<qint64> volume;
        std::optional<double> amount;
    };

    QDate m_day;
    std::optional<double> m_previousClose;
    std::array<Slot, kMinutesPerDay> m_slots{};
    int m_count = 0;
};

// Whether the number is a price a chart may draw: finite and above 0.
bool DrawablePrice(double price);

}  // namespace chart
