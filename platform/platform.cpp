#include "platform/platform.h"

namespace platform {

namespace {
std::unique_ptr<Platform> &Slot() {
    static std::unique_ptr<Platform> current;
    return current;
}
}  // namespace

Platform &Current() {
    std::unique_ptr<Platform> &slot = Slot();
    if (!slot) {
        slot = CreateNative();
    }
    return *slot;
}

std::unique_ptr<Platform> Install(std::unique_ptr<Platform> platform) {
    std::unique_ptr<Platform> previous = std::move(Slot());
    Slot() = std::move(platform);
    return previous;
}

}  // namespace platform
