#pragma once
// Where a position breaks even: the lowest sell price at which selling all of it nets at least
// 0 after every fee in force, found by asking the cost engine at the class's price tick.

#include "numbers/cost_engine.h"
#include "numbers/fee_schedule.h"
#include "numbers/instrument_class.h"

#include <cstdint>
#include <optional>

namespace numbers {

// The lowest price, a whole number of the class's ticks (0.01 for shares, 0.001 for funds and
// bonds), at which selling `quantity` bought at `buyPrice` nets at least 0 with the cost
// engine: stamp taxes, commissions with their minimum, and the transfer fee of `exchange` on
// the schedule's basis, as `instrument` pays them. Unlike the reference cost it leaves out no
// fee, so it is the price a broker's statement would show no loss at.
// None when the quantity is not above 0, when no price breaks even (the sell-side rates add
// up to 1000 ‰ or more), or when the amounts cannot be formed.
std::optional<double> BreakEvenPrice(double buyPrice, int32_t quantity, Exchange exchange,
                                     const FeeSchedule &fees, InstrumentClass instrument);

}  // namespace numbers
