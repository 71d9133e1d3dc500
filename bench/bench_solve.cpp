// Time of one complete paraxial solve: dispatch, aperture figures, cardinal points, continuity.
#include <benchmark/benchmark.h>

#include "engine/solver.h"

namespace {

using namespace rs::engine;

ParaxialDesign Design(std::initializer_list<std::pair<int, float>> values) {
    ParaxialDesign d;
    for (auto [index, value] : values) {
        d.params.AddValue(index, value);
    }
    d.aperture.AddValue(kFNumber, 4.0f);
    return d;
}

void BM_SolveTypical(benchmark::State& state) {
    ParaxialDesign d = Design({{kFocal, 100.f}, {kObjDist, -250.f}, {kObjHeight, 10.f}});
    float a = -250.f;
    for (auto _ : state) {
        // A slider run: a new object distance at every step.
        a = a < -1000.f ? -250.f : a - 0.5f;
        d.params.SetValue(2, a);
        benchmark::DoNotOptimize(SolveParaxial(d, true));
        benchmark::DoNotOptimize(d.paramTable);
    }
}
BENCHMARK(BM_SolveTypical);

void BM_SolveFocalThrow(benchmark::State& state) {
    ParaxialDesign d = Design({{kFocal, 100.f}, {kObjImgDist, 450.f}, {kImgAngle, 0.1f}});
    float t = 450.f;
    for (auto _ : state) {
        t = t > 2000.f ? 450.f : t + 0.5f;
        d.params.SetValue(2, t);
        benchmark::DoNotOptimize(SolveParaxial(d, true));
        benchmark::DoNotOptimize(d.paramTable);
    }
}
BENCHMARK(BM_SolveFocalThrow);

}  // namespace

BENCHMARK_MAIN();
