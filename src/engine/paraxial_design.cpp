#include "engine/paraxial_design.h"

#include "engine/require.h"

namespace rs::engine {

template <int N>
std::size_t ValueTable<N>::Slot(int index) {
    RS_REQUIRE(index >= 0 && index < N, "value table index out of range");
    return static_cast<std::size_t>(index);
}
template class ValueTable<kParamCount>;
template class ValueTable<kApertureCount>;

namespace {
SelectionStatus AddTo(Selection& sel, int index, int count, const std::optional<CVarType>& prefill,
                      bool* added) {
    if (added) *added = false;
    if (index < 0 || index >= count) return BadAdd(sel.Count(), index);
    return sel.Add(index, prefill, added);
}
}  // namespace

SelectionStatus ParaxialDesign::AddParam(int index, bool noPrefill, bool* added) {
    std::optional<CVarType> prefill;
    if (!noPrefill && index >= 0 && index < kContinuityGeneral) {
        prefill = continuity.PrefillGeneral(index, Margin());
    }
    return AddTo(params, index, kContinuityGeneral, prefill, added);
}

SelectionStatus ParaxialDesign::AddAperture(int index, bool noPrefill, bool* added) {
    std::optional<CVarType> prefill;
    if (!noPrefill && index >= 0 && index < kContinuityAperture) {
        prefill = continuity.PrefillAperture(index, Margin());
    }
    return AddTo(aperture, index, kContinuityAperture, prefill, added);
}

}  // namespace rs::engine
