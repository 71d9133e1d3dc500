#pragma once
// The program's rules for numbers, each kept here once: π as the formulas name it, the infinity
// marker, when two values count as equal, and what a single-precision table can hold.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>

namespace rs::engine {

// Every formula uses this value, so results agree to the last digit wherever π appears.
inline constexpr double kPi = 3.141592654;

// Infinity marker for an object or image distance (and for the stored object at infinity).
inline constexpr float kInfinity = -1e20f;

// The program's equality of values: both 0, or both non-zero and no more than 1e-7 apart.
// Entering a value equal to the stored one changes nothing (and takes no undo step).
inline bool SameValue(double a, double b) {
    if (a == 0.0 || b == 0.0) return a == b;
    return (a > b ? a - b : b - a) <= 1e-7;
}

// True when `v` can be stored as a single: finite and within its range. A result that does not
// fit fails the computation that produced it rather than becoming an infinity in a table.
inline bool FitsFloat(double v) {
    return std::isfinite(v) && std::fabs(v) <= FLT_MAX;
}

// `v` held to the range of a single (NaN stays NaN), for values that must be stored even when
// they lie beyond it, such as limits derived from a value near the end of the range.
inline float ClampToFloat(double v) {
    return static_cast<float>(
        std::clamp(v, -static_cast<double>(FLT_MAX), static_cast<double>(FLT_MAX)));
}

// `v` as a single, where a value beyond the range becomes an infinity of its sign (and NaN stays
// NaN) instead of an out-of-range conversion; for figures whose overflow is caught later.
inline float NarrowToFloat(double v) {
    if (std::isnan(v)) return std::numeric_limits<float>::quiet_NaN();
    if (v > FLT_MAX) return std::numeric_limits<float>::infinity();
    if (v < -FLT_MAX) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(v);
}

}  // namespace rs::engine
