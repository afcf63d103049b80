#pragma once

#include <optional>
#include <string>
#include <string_view>

// The number texts of the control exchange, independent of the process locale: the full stop
// is always the decimal point and no digit grouping is ever read or written.

// Scans like "%d" over the first 63 characters: leading white space, an optional sign and at
// least one decimal digit; the rest is ignored. A value beyond 32 bits saturates to the nearest
// 32-bit value. Nothing when no digit follows.
[[nodiscard]] std::optional<int> ScanIntegerText(std::string_view text);

// Scans like "%lf" over the first 399 characters: leading white space, an optional sign, digits
// with an optional fraction after a full stop, an optional exponent; the rest is ignored.
// Nothing when no number can be read or when it is not finite (no NaN or infinity reaches the
// settings; a value too small for a double reads as zero).
[[nodiscard]] std::optional<double> ScanRealText(std::string_view text);

// "%d".
[[nodiscard]] std::string FormatIntegerText(int value);

// "%.*g" at precision 15.
[[nodiscard]] std::string FormatRealText(double value);
