// raysketcher-cli: a whole run for one design as JSON (start-up without any toolkit library), a
// whole streamed 1,000,000-row sweep to a file, and the sweep loop that writes a CSV row per solve.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <variant>

#include "app/ini_file.h"
#include "app/settings.h"
#include "cli/sweep.h"

namespace {

using namespace rs;

// fork, exec, wait: what a script pays for each call. The child's peak memory in KiB, or -1
// when it failed.
long RunCliProcess(const char* const* argv) {
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        execv(argv[0], const_cast<char**>(argv));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        return -1;
    }
    return usage.ru_maxrss;
}

void BM_CliJsonProcess(benchmark::State& state) {
    const char* argv[] = {RAYSKETCHER_CLI, "--settings", RAYSKETCHER_EXAMPLES "/relay-1to1.ini",
                          "--json", nullptr};
    for (auto _ : state) {
        if (RunCliProcess(argv) < 0) {
            state.SkipWithError("raysketcher-cli failed");
            break;
        }
    }
}
BENCHMARK(BM_CliJsonProcess)->Unit(benchmark::kMillisecond);

// The whole program streaming a 1,000,000-row paraxial sweep to a CSV file: rows per second
// and the program's peak memory ("peak_KiB"), which must not grow with the number of rows.
void BM_CliSweepToFileProcess(benchmark::State& state) {
    const std::string csv = "/tmp/raysketcher-bench-" + std::to_string(getpid()) + ".csv";
    const std::string plan = "a=-100000:-60:" + std::to_string(state.range(0));
    const char* argv[] = {
        RAYSKETCHER_CLI, "--settings", RAYSKETCHER_EXAMPLES "/camera-50mm-f4-1m.ini",
        "--sweep",       plan.c_str(), "--csv",
        csv.c_str(),     nullptr};
    long peak = 0;
    for (auto _ : state) {
        peak = std::max(peak, RunCliProcess(argv));
        if (peak < 0) {
            state.SkipWithError("raysketcher-cli failed");
            break;
        }
    }
    unlink(csv.c_str());
    state.counters["peak_KiB"] = static_cast<double>(peak);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CliSweepToFileProcess)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The sweep of a paraxial and a beam design: solve, numbers and CSV text per row.
void SweepRows(benchmark::State& state, const char* file, const char* plan) {
    app::DesignState design;
    app::LoadSettings(app::IniFile(file), design);
    app::SweepPlan sweep = std::get<app::SweepPlan>(app::ParseSweep(plan));
    sweep.steps = state.range(0);
    for (auto _ : state) {
        auto prepared = app::DesignSweep::Prepare(design, sweep);
        std::size_t bytes = 0;
        cli::WriteSweepCsv({{file, &std::get<app::DesignSweep>(prepared)}},
                           [&](std::string_view chunk) {
                               bytes += chunk.size();
                               return true;
                           });
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
void BM_SweepParaxial(benchmark::State& state) {
    SweepRows(state, RAYSKETCHER_EXAMPLES "/camera-50mm-f4-1m.ini", "a=-100000:-60:1");
}
void BM_SweepBeam(benchmark::State& state) {
    SweepRows(state, RAYSKETCHER_EXAMPLES "/hene-focus-100mm.ini", "s=-1000:1000:1");
}
BENCHMARK(BM_SweepParaxial)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SweepBeam)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
