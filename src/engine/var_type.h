#pragma once
#include <cstdint>

namespace rs::engine {

// Infinity marker for an object or image distance (and for the stored object at infinity).
inline constexpr float kInfinity = -1e20f;

// One chosen parameter: its catalogue index, its value in internal units and its slider limits.
class CVarType {
public:
    std::int16_t nVarType = 0;
    float sVarValue = 0.0f;
    bool bVarValDef = false;
    float sLimLow = 0.0f;
    float sLimHih = 0.0f;
    bool bLimLowDef = false;
    bool bLimHihDef = false;

    void CopyTo(CVarType& target) const { target = *this; }

    friend bool operator==(const CVarType&, const CVarType&) = default;
};

// The program's equality of values: both 0, or both non-zero and no more than 1e-7 apart.
// Entering a value equal to the stored one changes nothing (and takes no undo step).
inline bool SameValue(double a, double b) {
    if (a == 0.0 || b == 0.0) return a == b;
    return (a > b ? a - b : b - a) <= 1e-7;
}

}  // namespace rs::engine
