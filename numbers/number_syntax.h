#pragma once
// The text syntax of every number the user types, and the form in which amounts are shown.

#include <QString>

#include <cstdint>
#include <optional>

namespace numbers {

// General number form: 15 significant digits, no trailing zeros, no grouping.
QString FormatAmount(double value);

// Optional blanks, optional sign, digits with at most one ".", optional exponent, optional
// blanks; a lone "." reads as 0. Values beyond the double range are refused.
std::optional<double> ParseDecimal(const QString &text);

// Optional sign and decimal digits, within the 32-bit signed range.
std::optional<int32_t> ParseWholeNumber(const QString &text);

// ".5" -> "0.5", "5." -> "5.0", "." -> "0.0"; nothing else changes.
QString NormaliseDecimalText(const QString &text);

}  // namespace numbers
