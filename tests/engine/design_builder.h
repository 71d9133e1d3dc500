#pragma once
// Builds paraxial designs for tests: choose parameters with values, solve.
#include <initializer_list>
#include <utility>

#include "engine/paraxial_design.h"
#include "engine/solver.h"

namespace rs::test {

// Chooses the given (index, value) pairs, bypassing the continuity prefill.
inline engine::ParaxialDesign& Choose(engine::ParaxialDesign& d,
                                      std::initializer_list<std::pair<int, float>> values) {
    d.params.Clear();
    for (auto [index, value] : values) d.params.AddValue(index, value);
    return d;
}

inline void ChooseAperture(engine::ParaxialDesign& d, int index, float value) {
    d.aperture.Clear();
    d.aperture.AddValue(index, value);
}

// A lens (or mirror) from the given choices, with a stop of radius `stop` when it is positive,
// solved once; whether the solve succeeded is left to the caller to check.
inline engine::ParaxialDesign Solved(std::initializer_list<std::pair<int, float>> values,
                                     float stop = 0, bool mirror = false) {
    engine::ParaxialDesign d;
    d.options.mirrorMode = mirror;
    Choose(d, values);
    if (stop > 0) ChooseAperture(d, engine::kStopRadius, stop);
    engine::SolveParaxial(d, false);
    return d;
}

// An object at infinity seen under 0.1 rad, marked as such the way the form marks it; the
// f-number is chosen when positive. Solved once.
inline engine::ParaxialDesign AtInfinity(float focal, float fNumber = 0) {
    engine::ParaxialDesign d;
    d.options.objAtInfinity = true;
    Choose(d, {{engine::kFocal, focal},
               {engine::kObjDist, engine::kInfinity},
               {engine::kObjAngle, 0.1f}});
    if (fNumber > 0) ChooseAperture(d, engine::kFNumber, fNumber);
    engine::SolveParaxial(d, false);
    return d;
}

inline float P(const engine::ParaxialDesign& d, int index) {
    return d.paramTable.Get(index);
}
inline float Ap(const engine::ParaxialDesign& d, int index) {
    return d.apertureTable.Get(index);
}

}  // namespace rs::test
