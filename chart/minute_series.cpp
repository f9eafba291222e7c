#include "chart/minute_series.h"

#include <algorithm>
#include <cmath>

namespace chart {

namespace {

constexpr int kMorningStart = 9 * 60 + 30;
constexpr int kMorningEnd = 11 * 60 + 30;
constexpr int kAfternoonStart = 13 * 60;
constexpr int kAfternoonEnd = 15 * 60;

}  // namespace

bool DrawablePrice(double price) {
    return std::isfinite(price) && price > 0;
}

int SlotOfTime(const QTime &time) {
    if (!time.isValid()) {
        return -1;
    }
    const int seconds = time.msecsSinceStartOfDay() / 1000;
    const int minute = seconds / 60;
    if (seconds < (9 * 60 + 15) * 60) {
        return -1;
    }
    if (minute < kMorningStart) {
        return 0;
    }
    if (minute < kMorningEnd) {
        return minute - kMorningStart + 1;
    }
    if (minute == kMorningEnd) {
        return kLunchSlot;
    }
    if (minute < kAfternoonStart) {
        return -1;
    }
    if (minute < kAfternoonEnd) {
        return kLunchSlot + 1 + (minute - kAfternoonStart);
    }
    if (minute < kAfternoonEnd + 5) {
        return kMinutesPerDay - 1;
    }
    return -1;
}

int SlotOfLabel(int hour, int minute) {
    if (minute < 0 || minute > 59) {
        return -1;
    }
    const int at = hour * 60 + minute;
    if (at >= kMorningStart && at <= kMorningEnd) {
        return at - kMorningStart;
    }
    if (at >= kAfternoonStart && at <= kAfternoonEnd) {
        return std::max(kLunchSlot, kLunchSlot + at - kAfternoonStart);
    }
    return -1;
}

QTime SlotTime(int slot) {
    if (slot < 0 || slot >= kMinutesPerDay) {
        return {};
    }
    const int at = slot <= kLunchSlot ? kMorningStart + slot : kAfternoonStart + slot - kLunchSlot;
    return QTime(at / 60, at % 60);
}

void MinuteSeries::setPreviousClose(double price) {
    if (DrawablePrice(price)) {
        m_previousClose = price;
    }
}

void MinuteSeries::startDay(QDate day) {
    m_day = day;
    m_previousClose.reset();
    m_slots.fill(Slot{});
    m_count = 0;
}

bool MinuteSeries::fold(const MinuteReading &reading) {
    const int slot = SlotOfTime(reading.time.time());
    if (!DrawablePrice(reading.price) || slot < 0 || !reading.time.isValid()) {
        return false;
    }
    const QDate date = reading.time.date();
    if (m_day.isValid() && date < m_day) {
        return false;
    }
    if (date != m_day) {
        startDay(date);
    }
    Slot &held = m_slots[static_cast<std::size_t>(slot)];
    if (!held.held) {
        ++m_count;
    }
    held.held = true;
    held.price = reading.price;
    // Within a minute the figures only rise; a reading that went back keeps the higher ones.
    if (reading.volume && *reading.volume >= 0) {
        held.volume = std::max(held.volume.value_or(0), *reading.volume);
    }
    if (reading.amount && std::isfinite(*reading.amount) && *reading.amount >= 0) {
        held.amount = std::max(held.amount.value_or(0), *reading.amount);
    }
    return true;
}

bool MinuteSeries::put(int slot, double price, std::optional<qint64> volume,
                       std::optional<double> amount) {
    if (slot < 0 || slot >= kMinutesPerDay || !DrawablePrice(price)) {
        return false;
    }
    Slot &held = m_slots[static_cast<std::size_t>(slot)];
    if (!held.held) {
        ++m_count;
    }
    held = Slot{true, price, volume && *volume >= 0 ? volume : std::nullopt,
                amount && std::isfinite(*amount) && *amount >= 0 ? amount : std::nullopt};
    return true;
}

int MinuteSeries::latest() const {
    for (int slot = kMinutesPerDay - 1; slot >= 0; --slot) {
        if (m_slots[static_cast<std::size_t>(slot)].held) {
            return slot;
        }
    }
    return -1;
}

MinuteSeries::Minutes MinuteSeries::derive() const {
    Minutes minutes;
    qint64 volumeSoFar = 0;
    double amountSoFar = 0;
    std::optional<double> lastPrice = m_previousClose;
    for (int slot = 0; slot < kMinutesPerDay; ++slot) {
        const Slot &held = m_slots[static_cast<std::size_t>(slot)];
        if (!held.held) {
            continue;
        }
        Minute &minute = minutes.at[static_cast<std::size_t>(slot)];
        minute.slot = slot;
        minute.price = held.price;
        minute.up = !lastPrice || held.price >= *lastPrice;
        lastPrice = held.price;
        if (held.volume) {
            minute.volume = std::max<qint64>(0, *held.volume - volumeSoFar);
            volumeSoFar = std::max(volumeSoFar, *held.volume);
        }
        if (held.amount) {
            amountSoFar = std::max(amountSoFar, *held.amount);
        }
        if (volumeSoFar > 0 && amountSoFar > 0) {
            minute.average = amountSoFar / static_cast<double>(volumeSoFar);
        }
        ++minutes.count;
    }
    return minutes;
}

}  // namespace chart
