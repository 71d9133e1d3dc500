// The caustic fit runs again on every edit of the measurement table, so a table of typical
// size should fit far below a frame's time, and a long one still without a pause.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "beam/caustic_fit.h"

namespace {

void BM_FitCaustic(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    std::vector<double> z(n), d(n);
    for (std::size_t i = 0; i < n; ++i) {
        z[i] = -200.0 + 400.0 * static_cast<double>(i) / static_cast<double>(n - 1);
        d[i] = 0.4 * std::hypot(1.0, z[i] / 60.0) * (1.0 + 0.01 * std::sin(7.0 * z[i]));
    }
    for (auto _ : state) benchmark::DoNotOptimize(rs::beam::FitCaustic(z, d, 632.8e-6));
}
BENCHMARK(BM_FitCaustic)->Arg(20)->Arg(10000);

}  // namespace

BENCHMARK_MAIN();
