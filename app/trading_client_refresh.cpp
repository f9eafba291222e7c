#include "app/trading_client_refresh.h"

#include "settings/settings_in_force.h"

#include <algorithm>
#include <climits>

namespace trading_client {

std::optional<int> IntervalMs(int32_t seconds) {
    if (seconds < 1) {
        return std::nullopt;
    }
    return static_cast<int>(std::min<int64_t>(int64_t{seconds} * 1000, INT_MAX));
}

}  // namespace trading_client

namespace {
// The window manager moves the focus on its own time, and a key sent before would reach the
// window that had it; a desktop that refuses must not hold the key back for long.
constexpr int kFocusPollMs = 10;
constexpr int kFocusWaitMs = 500;
}  // namespace

TradingClientRefresh::TradingClientRefresh(const settings::InForce &inForce, QObject *parent)
    : QObject(parent), Timer2(new QTimer(this)), m_inForce(inForce), m_focusWait(new QTimer(this)) {
    connect(Timer2, &QTimer::timeout, this, &TradingClientRefresh::Timer2Timer);
    m_focusWait->setInterval(kFocusPollMs);
    connect(m_focusWait, &QTimer::timeout, this, &TradingClientRefresh::pressKeyOnceFocused);
}

void TradingClientRefresh::setRefresh(bool on, int32_t seconds) {
    const std::optional<int> interval = trading_client::IntervalMs(seconds);
    if (!on || !interval) {
        Timer2->stop();
        return;
    }
    // Only a different interval, or a stopped timer, starts the count anew.
    if (Timer2->interval() != *interval) {
        Timer2->setInterval(*interval);
    }
    if (!Timer2->isActive()) {
        Timer2->start();
    }
}

void TradingClientRefresh::Timer2Timer() {
    if (m_focusWait->isActive()) {
        return;  // the last refresh still waits for the focus
    }
    platform::Platform &desktop = platform::Current();
    const platform::WindowId client = desktop.findWindow(trading_client::kTitle);
    if (client == 0) {
        return;  // while the client is away the interval stays as it is
    }
    if (desktop.isMinimised(client)) {
        desktop.restore(client);
    } else {
        desktop.raise(client);
    }
    desktop.activate(client);
    // A field being retyped (empty, or 0 on the way to another number) gives no interval:
    // the rhythm then stays until a tick finds a number again.
    if (const std::optional<int> interval =
            trading_client::IntervalMs(m_inForce.system().refreshSeconds);
        interval && Timer2->interval() != *interval) {
        Timer2->setInterval(*interval);
    }
    m_client = client;
    m_waiting.start();
    pressKeyOnceFocused();
}

void TradingClientRefresh::pressKeyOnceFocused() {
    // A refused focus change still gets the key: it then goes where the focus is.
    if (!platform::Current().hasFocus(m_client) && m_waiting.elapsed() < kFocusWaitMs) {
        if (!m_focusWait->isActive()) {
            m_focusWait->start();
        }
        return;
    }
    m_focusWait->stop();
    platform::Current().pressKey(trading_client::kRefreshKey);
}
