#pragma once
// Row identities as the lists carry them, as text.

#include <QString>

#include <optional>

namespace numbers {

// The identity a text holds; empty when the text is not one.
std::optional<qint64> IdentityValue(const QString &text);

}  // namespace numbers
