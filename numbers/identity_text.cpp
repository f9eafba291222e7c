#include "numbers/identity_text.h"

namespace numbers {

std::optional<qint64> IdentityValue(const QString &text) {
    bool read = false;
    const qint64 identity = text.toLongLong(&read);
    return read ? std::optional<qint64>(identity) : std::nullopt;
}

}  // namespace numbers
