#pragma once
// The trading-client refresh: the brokerage's trading client logs the user out after a few
// minutes without input, so while the refresh is on the program brings the client forward at
// a set interval and presses its refresh key.

#include "platform/platform.h"
#include "settings/settings_in_force.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <optional>

namespace trading_client {

// The client is known only by the title of its main window.
inline const QString kTitle = QStringLiteral("国海证券网上交易");
inline constexpr Qt::Key kRefreshKey = Qt::Key_F6;

// The interval for a seconds value: none below 1 second (such a timer would never fire), at
// most what a timer can hold.
std::optional<int> IntervalMs(int32_t seconds);

}  // namespace trading_client

class TradingClientRefresh final : public QObject {
    Q_OBJECT
public:
    // The interval follows the seconds of `inForce`.
    explicit TradingClientRefresh(const settings::InForce &inForce, QObject *parent = nullptr);

    // Ticks while the refresh is on.
    QTimer *Timer2;

    // Starts or stops the refresh. Seconds that give no interval stop it.
    void setRefresh(bool on, int32_t seconds);

    // One refresh: restores the client's window if it is minimised, else raises it, asks for
    // it to get the focus and presses the refresh key once it has it, or after a short wait
    // when the desktop refuses. Nothing is done while there is no client. Once the client was
    // found the interval follows the seconds of the settings in force, while they give one.
    void Timer2Timer();

private:
    void pressKeyOnceFocused();

    const settings::InForce &m_inForce;
    QTimer *m_focusWait;  // polls for the client taking the focus
    QElapsedTimer m_waiting;
    platform::WindowId m_client = 0;
};
