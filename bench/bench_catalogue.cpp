// The catalogue is read once at start-up (within 2 ms), and the lens choice runs after every beam
// solve, that is on every slider step and drag move (within 50 µs).
#include <benchmark/benchmark.h>

#include <array>

#include "analysis/catalogue_lenses.h"
#include "analysis/lens_choice.h"

namespace {

using namespace rs::analysis;

void BM_ReadCatalogue(benchmark::State& state) {
    const auto dir = BuildTreeCatalogueDir();
    for (auto _ : state) {
        LensCatalogue catalogue = ReadCatalogueLenses(dir);
        benchmark::DoNotOptimize(catalogue);
    }
    state.counters["lenses"] = static_cast<double>(ReadCatalogueLenses(dir).Lenses().size());
}
BENCHMARK(BM_ReadCatalogue)->Unit(benchmark::kMicrosecond);

const LensCatalogue& Catalogue() {
    static const LensCatalogue catalogue = ReadCatalogueLenses(BuildTreeCatalogueDir());
    return catalogue;
}

// f' = 100 mm with a 2 mm beam: one of the busiest spots of the catalogue.
void BM_ChooseLenses(benchmark::State& state) {
    for (auto _ : state) {
        auto rows = ChooseLenses(Catalogue(), {100.0, 2.0}, false);
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] =
        static_cast<double>(ChooseLenses(Catalogue(), {100.0, 2.0}, false).size());
}
BENCHMARK(BM_ChooseLenses)->Unit(benchmark::kMicrosecond);

// The whole grid with its texts, as the window fills it after a solve.
void BM_LensGrid(benchmark::State& state) {
    for (auto _ : state) {
        LensGrid grid = BuildLensGrid(Catalogue(), ElementNeed{100.0, 2.0});
        benchmark::DoNotOptimize(grid);
    }
}
BENCHMARK(BM_LensGrid)->Unit(benchmark::kMicrosecond);

void BM_CylinderGrid(benchmark::State& state) {
    const std::array<ElementNeed, 2> axes = {{{10.0, 1.0}, {30.0, 2.0}}};
    for (auto _ : state) {
        LensGrid grid = BuildLensGrid(Catalogue(), axes);
        benchmark::DoNotOptimize(grid);
    }
}
BENCHMARK(BM_CylinderGrid)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
