// Time of one complete paraxial solve: dispatch, aperture figures, cardinal points, continuity.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "engine/solver.h"
#include "wavelengths/wavelengths.h"

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

// Opening the wavelength picker: the user's file of 1000 lines read and the rows of the three
// grids made (without widgets). Aim: at most 5 ms.
void BM_OpenWavelengthPicker(benchmark::State& state) {
    namespace wl = rs::wavelengths;
    const auto file =
        std::filesystem::temp_directory_path() / "raysketcher-bench" / "UserData" / "WaveLen.lst";
    std::filesystem::create_directories(file.parent_path());
    {
        std::ofstream out(file);
        for (int i = 0; i < 1000; ++i) out << "Linie " << i << " |" << 300 + i * 0.37 << "\n";
    }
    std::size_t rows = 0;
    for (auto _ : state) {
        const wl::UserList user = wl::ReadUserWavelengths(file);
        std::vector<std::string> grid;
        for (const auto& r : wl::LaserLines()) grid.push_back(wl::LaserRow(r));
        for (const auto& r : wl::GlassCatalogueLines()) grid.push_back(wl::GlassRow(r));
        for (const auto& r : user.entries) grid.push_back(wl::UserRow(r));
        rows = grid.size();
        benchmark::DoNotOptimize(grid);
    }
    if (rows != 1103) state.SkipWithError("the user file was not read whole");
    std::filesystem::remove_all(file.parent_path().parent_path());
}
BENCHMARK(BM_OpenWavelengthPicker)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
