#include "quotes/clock.h"

namespace quotes {

QDateTime RealTime() {
    return QDateTime::currentDateTimeUtc();
}

}  // namespace quotes
