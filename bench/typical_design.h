#pragma once
// The design the benchmarks time: f' = 100 mm, object 250 mm in front, 10 mm high, f/4, solved.
#include "engine/solver.h"

namespace rs::bench {

inline engine::ParaxialDesign TypicalDesign() {
    using namespace rs::engine;
    ParaxialDesign d;
    for (auto [index, value] : {std::pair{kFocal, 100.f}, {kObjDist, -250.f}, {kObjHeight, 10.f}}) {
        d.params.AddValue(index, value);
    }
    d.aperture.AddValue(kFNumber, 4.0f);
    SolveParaxial(d, false);
    return d;
}

}  // namespace rs::bench
