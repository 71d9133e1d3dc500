#pragma once
// The paraxial part of the design state: the selections, the value tables, the options, the
// results of the last solve and the continuity store. Engines are functions of this object.
#include <array>
#include <optional>

#include "engine/catalogue.h"
#include "engine/continuity.h"
#include "engine/options.h"
#include "engine/selection.h"

namespace rs::engine {

// Values by catalogue index, single precision, internal units.
template <int N>
class ValueTable {
public:
    float Get(int index) const { return values_[Slot(index)]; }
    void Set(int index, float value) { values_[Slot(index)] = value; }
    // Clears the user-visible entries (the first `count` indices).
    void Clear(int count = N) {
        for (int i = 0; i < count && i < N; ++i) values_[static_cast<std::size_t>(i)] = 0.0f;
    }
    const float* Data() const { return values_.data(); }
    friend bool operator==(const ValueTable&, const ValueTable&) = default;

private:
    static std::size_t Slot(int index);
    std::array<float, N> values_{};
};

using ParamTable = ValueTable<kParamCount>;
using ApertureTable = ValueTable<kApertureCount>;
using CardinalPoints = std::array<float, kCardinalCount>;

struct ParaxialDesign {
    Selection params{3};
    Selection aperture{1};
    OptionState options;
    SymbolTable symbols;

    ParamTable paramTable;
    ApertureTable apertureTable;
    CardinalPoints cardinal{};
    float mtfCutOff = 0.0f;
    bool bCalcInvalid = false;
    bool bApertureUndefined = true;

    DataContinuity continuity;
    int sliderDefaultPercent = 10;  // settings value, already clamped to 10..80

    double Margin() const { return LimitMargin(sliderDefaultPercent); }

    // Adds a general (or aperture) parameter, prefilled from the continuity store unless
    // `noPrefill`. A full list stays as it is (`added` false); an index that cannot be chosen
    // or is chosen already is a caller fault, reported through the status.
    SelectionStatus AddParam(int index, bool noPrefill = false, bool* added = nullptr);
    SelectionStatus AddAperture(int index, bool noPrefill = false, bool* added = nullptr);
};

}  // namespace rs::engine
