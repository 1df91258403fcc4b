#pragma once
#include <cmath>
#include <cstdint>
#include <limits>

// Numbers in layout and placement strings are untrusted: every conversion to
// a 32-bit coordinate saturates instead of overflowing.

inline int32_t SaturateToInt32(int64_t value)
{
    constexpr int64_t lo = std::numeric_limits<int32_t>::min();
    constexpr int64_t hi = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value < lo ? lo : (value > hi ? hi : value));
}

// Truncates toward zero; NaN gives 0, infinities and huge values the nearest limit.
inline int32_t TruncateToInt32(double value)
{
    if (std::isnan(value))
        return 0;
    if (value <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    if (value >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}
