#pragma once
// The brokerage's trading client, kept alive from outside: it logs the user out after a few
// minutes without input, so the program brings it forward and presses its refresh key.

#include "platform/platform.h"

namespace trading_client {

// The client is known only by the title of its main window.
inline const QString kTitle = QStringLiteral("国海证券网上交易");
inline constexpr Qt::Key kRefreshKey = Qt::Key_F6;

// Restores the client's window if it is minimised, else raises it, gives it the focus and
// presses the refresh key. False when no such window exists; then nothing is done.
bool Refresh(platform::Platform &platform);

}  // namespace trading_client
