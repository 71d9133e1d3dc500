#pragma once
#include <cstdint>

#include "engine/numbers.h"

namespace rs::engine {

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

    friend bool operator==(const CVarType&, const CVarType&) = default;
};

}  // namespace rs::engine
