#include "engine/continuity.h"

#include "engine/numbers.h"
#include "engine/require.h"

namespace rs::engine {

double LimitMargin(int percent) {
    if (percent < 6) percent = 10;
    return percent / 100.0;
}

AutoLimits LimitsAround(double value, double margin) {
    const double up = value > 0 ? 1.0 + margin : 1.0 - margin;
    const double down = value > 0 ? 1.0 - margin : 1.0 + margin;
    // A value near the end of single precision must not get an infinite limit.
    return {ClampToFloat(down * value), ClampToFloat(up * value)};
}

bool ExtendLimitsToValue(CVarType& entry, double value, double scale, double margin) {
    const double v = value * scale;
    const AutoLimits around = LimitsAround(v, margin);
    // The side of the value decides the factor (value > 0), not the scaled value; they agree
    // because every scale factor is positive.
    bool changed = false;
    if ((!entry.bLimHihDef && value != 0) || (entry.bLimHihDef && v > entry.sLimHih)) {
        entry.bLimHihDef = true;
        entry.sLimHih = around.high;
        changed = true;
    }
    if ((!entry.bLimLowDef && value != 0) || (entry.bLimLowDef && v < entry.sLimLow)) {
        entry.bLimLowDef = true;
        entry.sLimLow = around.low;
        changed = true;
    }
    return changed;
}

CVarType PrefillFrom(const StoredValue& stored, int index, double margin) {
    CVarType r;
    r.nVarType = static_cast<std::int16_t>(index);
    r.sVarValue = stored.value;
    r.bVarValDef = stored.defined;
    // Stored records never carry limits of their own, so defined values always get limits
    // around them and undefined ones get none.
    if (stored.defined) {
        const AutoLimits lim = LimitsAround(stored.value, margin);
        r.sLimHih = lim.high;
        r.sLimLow = lim.low;
        r.bLimHihDef = r.bLimLowDef = true;
    }
    return r;
}

namespace {
template <std::size_t N, typename T>
void Record(std::array<StoredValue, N>& store, const T* table, bool complete) {
    for (std::size_t i = 0; i < N; ++i) {
        store[i] = complete ? StoredValue{static_cast<float>(table[i]), true} : StoredValue{};
    }
}
std::size_t Slot(int index, int count) {
    RS_REQUIRE(index >= 0 && index < count, "continuity index out of range");
    return static_cast<std::size_t>(index);
}
}  // namespace

void DataContinuity::RecordSolution(const float* paramTable, bool complete) {
    Record(general_, paramTable, complete);
}
void DataContinuity::RecordAperture(const float* apertureTable, bool complete) {
    Record(aperture_, apertureTable, complete);
}
void DataContinuity::RecordBeam(int axis, const double* beamTable, bool complete) {
    Record(beam_[Slot(axis, kBeamAxisCount)], beamTable, complete);
}

StoredValue DataContinuity::General(int index) const {
    return general_[Slot(index, kContinuityGeneral)];
}
StoredValue DataContinuity::Aperture(int index) const {
    return aperture_[Slot(index, kContinuityAperture)];
}
StoredValue DataContinuity::Beam(int axis, int index) const {
    return beam_[Slot(axis, kBeamAxisCount)][Slot(index, kContinuityBeam)];
}

CVarType DataContinuity::PrefillGeneral(int index, double margin) const {
    return PrefillFrom(General(index), index, margin);
}
CVarType DataContinuity::PrefillAperture(int index, double margin) const {
    return PrefillFrom(Aperture(index), index, margin);
}
CVarType DataContinuity::PrefillBeam(int axis, int index, double margin) const {
    return PrefillFrom(Beam(axis, index), index, margin);
}

}  // namespace rs::engine
