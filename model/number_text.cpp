#include "model/number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <cstdint>
#include <system_error>

namespace {

constexpr std::size_t kIntegerScanLength = 63;
constexpr std::size_t kRealScanLength = 399;
constexpr int kRealPrecision = 15;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// What scanf sees: the text up to its first NUL, cut to `limit` characters.
std::string_view ScanWindow(std::string_view text, std::size_t limit) {
    const std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos) {
        text = text.substr(0, nul);
    }
    return text.substr(0, limit);
}

std::size_t SkipSpace(std::string_view text, std::size_t pos) {
    while (pos < text.size() && IsSpace(text[pos])) {
        ++pos;
    }
    return pos;
}

std::size_t SkipDigits(std::string_view text, std::size_t pos) {
    while (pos < text.size() && IsDigit(text[pos])) {
        ++pos;
    }
    return pos;
}

// The longest prefix of `text` that forms a decimal floating-point number (no sign), or an
// empty view when none does. An exponent marker without digits is not part of the number.
std::string_view RealNumberPrefix(std::string_view text) {
    std::size_t pos = SkipDigits(text, 0);
    bool digits = pos > 0;
    if (pos < text.size() && text[pos] == '.') {
        const std::size_t fractionEnd = SkipDigits(text, pos + 1);
        digits = digits || fractionEnd > pos + 1;
        pos = fractionEnd;
    }
    if (!digits) {
        return {};
    }
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        std::size_t exponent = pos + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) {
            ++exponent;
        }
        const std::size_t exponentEnd = SkipDigits(text, exponent);
        if (exponentEnd > exponent) {
            pos = exponentEnd;
        }
    }
    return text.substr(0, pos);
}

// For a number that does not fit a double: true when it is too small rather than too large,
// judged by the decimal exponent of its first significant digit.
bool IsUnderflow(std::string_view number) {
    const std::size_t exponentMark = number.find_first_of("eE");
    const std::string_view mantissa = number.substr(0, exponentMark);
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos) {
        return true;  // all zeros: cannot overflow
    }
    long long leadingExponent = first < point ? static_cast<long long>(point - first) - 1
                                              : -static_cast<long long>(first - point);
    if (exponentMark != std::string_view::npos) {
        std::string_view digits = number.substr(exponentMark + 1);
        const bool negative = digits.front() == '-';
        if (digits.front() == '-' || digits.front() == '+') {
            digits.remove_prefix(1);
        }
        long long exponent = 0;
        const auto parsed = std::from_chars(digits.data(), digits.data() + digits.size(), exponent);
        if (parsed.ec == std::errc::result_out_of_range) {
            return negative;
        }
        leadingExponent += negative ? -exponent : exponent;
    }
    return leadingExponent < 0;
}

// Steps over one optional sign at `pos`; true when it was a minus.
bool SkipSign(std::string_view text, std::size_t& pos) {
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        return text[pos++] == '-';
    }
    return false;
}

}  // namespace

std::optional<int> ScanIntegerText(std::string_view text) {
    text = ScanWindow(text, kIntegerScanLength);
    std::size_t pos = SkipSpace(text, 0);
    const bool negative = SkipSign(text, pos);
    const std::size_t digitsEnd = SkipDigits(text, pos);
    if (digitsEnd == pos) {
        return std::nullopt;
    }
    // Accumulate the magnitude and stop growing it once it is past every 32-bit value.
    constexpr std::int64_t kCap = static_cast<std::int64_t>(INT_MAX) + 2;
    std::int64_t magnitude = 0;
    for (; pos < digitsEnd; ++pos) {
        magnitude = magnitude * 10 + (text[pos] - '0');
        if (magnitude > kCap) {
            magnitude = kCap;
        }
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

std::optional<double> ScanRealText(std::string_view text) {
    text = ScanWindow(text, kRealScanLength);
    std::size_t pos = SkipSpace(text, 0);
    const bool negative = SkipSign(text, pos);
    const std::string_view number = RealNumberPrefix(text.substr(pos));
    if (number.empty()) {
        return std::nullopt;
    }
    double value = 0.0;
    const auto parsed = std::from_chars(number.data(), number.data() + number.size(), value,
                                        std::chars_format::general);
    if (parsed.ec == std::errc::result_out_of_range) {
        if (!IsUnderflow(number)) {
            return std::nullopt;
        }
        value = 0.0;
    } else if (parsed.ec != std::errc{} || parsed.ptr != number.data() + number.size()) {
        return std::nullopt;
    }
    if (value - value != 0.0) {  // not finite
        return std::nullopt;
    }
    return negative ? -value : value;
}

std::string FormatIntegerText(int value) {
    std::array<char, 16> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

std::string FormatRealText(double value) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, kRealPrecision);
    return std::string(buffer.data(), result.ptr);
}
