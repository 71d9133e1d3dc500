#pragma once
// The continuity store: the value every parameter had in the last complete solution, so that a
// newly chosen parameter starts where the design already is, with slider limits around it.
// Also home of the automatic-limit rule used wherever limits are derived from a value.
#include <array>

#include "engine/var_type.h"

namespace rs::engine {

inline constexpr int kContinuityGeneral = 9;   // general indices 0..8
inline constexpr int kContinuityAperture = 5;  // aperture indices 0..4
inline constexpr int kContinuityBeam = 11;     // beam indices 0..10
// Beam axes of a design; the second is used in diode mode only.
inline constexpr int kBeamAxisCount = 2;

// The limit margin g for a "SliderDefaultPercent" of p: p/100, where p below 6 counts as 10.
double LimitMargin(int percent);

struct AutoLimits {
    float low = 0.0f;
    float high = 0.0f;
};
// Limits a margin g around a value: (1 - g)·v .. (1 + g)·v for a positive value, mirrored for
// a negative one, so the lower limit is always the smaller.
AutoLimits LimitsAround(double value, double margin);

// Widens the limits of `entry` so they contain value·scale (value in display units, limits in
// internal units). An undefined limit stays undefined for a value of 0. Returns true when a
// limit changed.
bool ExtendLimitsToValue(CVarType& entry, double value, double scale, double margin);

struct StoredValue {
    float value = 0.0f;
    bool defined = false;
    friend bool operator==(const StoredValue&, const StoredValue&) = default;
};

// The store follows the last solve that was asked to record: a solution is kept (complete =
// true); a selection still incomplete marks every value of its kind undefined (complete =
// false), so a parameter chosen next starts empty; a solve of a complete selection that failed
// records nothing, so the previous solution stays available.
class DataContinuity {
public:
    // Empties every store (all values 0 and undefined).
    void Clear() { *this = DataContinuity{}; }

    // Records indices 0..8 of a general table (complete), or marks them undefined.
    void RecordSolution(const float* paramTable, bool complete);
    void RecordAperture(const float* apertureTable, bool complete);
    // Records indices 0..10 of one beam axis.
    void RecordBeam(int axis, const double* beamTable, bool complete);

    // A new selection entry for `index`, prefilled with the stored value and limits around it.
    CVarType PrefillGeneral(int index, double margin) const;
    CVarType PrefillAperture(int index, double margin) const;
    CVarType PrefillBeam(int axis, int index, double margin) const;

    StoredValue General(int index) const;
    StoredValue Aperture(int index) const;
    StoredValue Beam(int axis, int index) const;

    friend bool operator==(const DataContinuity&, const DataContinuity&) = default;

private:
    std::array<StoredValue, kContinuityGeneral> general_{};
    std::array<StoredValue, kContinuityAperture> aperture_{};
    std::array<std::array<StoredValue, kContinuityBeam>, kBeamAxisCount> beam_{};
};

// Prefill of a record for `index` from a stored value.
CVarType PrefillFrom(const StoredValue& stored, int index, double margin);

}  // namespace rs::engine
