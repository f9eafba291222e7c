#include "app/trading_client.h"

namespace trading_client {

bool Refresh(platform::Platform &platform) {
    const platform::WindowId window = platform.FindWindow(kTitle);
    if (window == 0) {
        return false;
    }
    if (platform.IsMinimised(window)) {
        platform.Restore(window);
    } else {
        platform.Raise(window);
    }
    // A refused focus change still gets the key: it then goes where the focus is.
    platform.Activate(window);
    platform.PressKey(kRefreshKey);
    return true;
}

}  // namespace trading_client
