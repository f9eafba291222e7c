#pragma once
// The program's one clock. The trading calendar, the choice of service and every time a view
// shows read the time through it: real time in the program, a fixed or stepping time in tests.

#include <QDateTime>

#include <functional>

namespace quotes {

using Clock = std::function<QDateTime()>;

// The real time, in UTC.
QDateTime RealTime();

// `clock`, or the real time when it is empty.
inline Clock OrRealTime(Clock clock) {
    return clock ? std::move(clock) : Clock(&RealTime);
}

}  // namespace quotes
