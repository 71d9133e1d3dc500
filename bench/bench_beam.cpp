// The beam solve runs on every slider step and every mouse move of a drag, once per axis, so
// one axis with its extras should stay far below a frame's time.
#include <benchmark/benchmark.h>

#include "beam/beam_extras.h"
#include "beam/gaussian_beam.h"

namespace {

using namespace rs::beam;

BeamDesign Typical(std::initializer_list<std::pair<int, float>> chosen) {
    BeamDesign d;
    d.beamMode = true;
    for (const auto& [index, value] : chosen) {
        rs::engine::CVarType e;
        e.sVarValue = value;
        e.bVarValDef = true;
        d.axes[0].selection.Add(index, e);
    }
    return d;
}

// f', s, r: the most common way in; no non-unique root.
void BM_SolveAxisWithExtras(benchmark::State& state) {
    BeamDesign d = Typical({{kGbFocal, 100.0f}, {kGbObjDist, 200.0f}, {kGbObjRadius, 0.05f}});
    d.extrasOptions.detectorOn = true;
    d.extrasOptions.detectorDistance = 150.0;
    rs::engine::DataContinuity store;
    const BeamContext context{0.0, 1.0, &store};
    for (auto _ : state) {
        SolveAllAxes(d, context);
        benchmark::DoNotOptimize(d.axes[0].extras.data());
    }
}
BENCHMARK(BM_SolveAxisWithExtras);

// s, s', w': a quadratic for the focal length, then the magnification and the carried beam.
void BM_SolveAxisQuadraticRow(benchmark::State& state) {
    BeamDesign d = Typical({{kGbObjDist, 200.0f}, {kGbImgDist, 150.0f}, {kGbImgDiv, 0.004f}});
    const BeamContext context{};
    for (auto _ : state) {
        benchmark::DoNotOptimize(SolveAxis(d, 0, context));
        benchmark::DoNotOptimize(d.axes[0].table.data());
    }
}
BENCHMARK(BM_SolveAxisQuadraticRow);

// Both axes of a circularised diode: axis 0, axis 1 built from it, each with extras.
void BM_SolveCircularisedDiode(benchmark::State& state) {
    BeamDesign d = Typical({{kGbFocal, 9.0f}, {kGbObjDist, 9.0f}, {kGbObjDiv, 0.002f}});
    d.diode.diodeMode = true;
    d.diode.circularise = true;
    d.diode.paramValues[kGbObjDiv] = 0.006;
    const BeamContext context{};
    for (auto _ : state) {
        SolveAllAxes(d, context);
        benchmark::DoNotOptimize(d.axes[1].extras.data());
    }
}
BENCHMARK(BM_SolveCircularisedDiode);

}  // namespace

BENCHMARK_MAIN();
