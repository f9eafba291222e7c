#pragma once
// The text syntax of every number the user types, and the form in which amounts are shown.

#include <QString>

#include <cstdint>
#include <optional>

namespace numbers {

// General number form: 15 significant digits, no trailing zeros, no grouping.
QString FormatAmount(double value);

// The largest magnitude a typed number may have. Every number up to it survives being shown
// with FormatAmount and read back (the 15-digit form never rounds past it), and as an amount
// in yuan it can still be rounded to the li; beyond it lies nothing a trader types.
inline constexpr double kLargestDecimal = 1e15;

// A number as the user could type it: finite and within kLargestDecimal either way.
bool WithinDecimalLimit(double value);
// The amount of `quantity` shares at `price`, formed in extended precision as the engine forms
// it, within kLargestDecimal: beyond it a lot's figures could no longer be rounded exactly.
bool WithinAmountLimit(double price, int64_t quantity);

// Optional blanks, optional sign, digits with at most one ".", optional exponent, optional
// blanks; a lone "." reads as 0. Values beyond kLargestDecimal either way are refused.
std::optional<double> ParseDecimal(const QString &text);

// Optional sign and decimal digits, within the 32-bit signed range.
std::optional<int32_t> ParseWholeNumber(const QString &text);

// ".5" -> "0.5", "5." -> "5.0", "." -> "0.0"; nothing else changes.
QString NormaliseDecimalText(const QString &text);

}  // namespace numbers
