// raysketcher-cli: a whole run for one design as JSON (start-up without any toolkit library), a
// whole streamed 1,000,000-row sweep to a file, a sweep with its plot, and the sweep loop that
// writes a CSV row per solve.
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
#include "app/sweep_csv.h"

namespace {

using namespace rs;

// What one run of the program used: its peak memory and its processor time (on a shared machine
// the wall time says more about the neighbours than about the program).
struct ChildUsage {
    bool ok = false;
    long peakKiB = 0;
    double cpuSeconds = 0;
};

// fork, exec, wait: what a script pays for each call.
ChildUsage RunCliProcess(const char* const* argv) {
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
        return {};
    }
    const auto seconds = [](timeval t) { return static_cast<double>(t.tv_sec) + t.tv_usec * 1e-6; };
    return {true, usage.ru_maxrss, seconds(usage.ru_utime) + seconds(usage.ru_stime)};
}

// The program once per iteration: the highest peak memory and the processor time of all runs.
ChildUsage RunEachIteration(benchmark::State& state, const char* const* argv) {
    ChildUsage all{true, 0, 0};
    for (auto _ : state) {
        const ChildUsage used = RunCliProcess(argv);
        if (!used.ok) {
            state.SkipWithError("raysketcher-cli failed");
            return {};
        }
        all.peakKiB = std::max(all.peakKiB, used.peakKiB);
        all.cpuSeconds += used.cpuSeconds;
    }
    return all;
}

void BM_CliJsonProcess(benchmark::State& state) {
    const char* argv[] = {RAYSKETCHER_CLI, "--settings", RAYSKETCHER_EXAMPLES "/relay-1to1.ini",
                          "--json", nullptr};
    RunEachIteration(state, argv);
}
BENCHMARK(BM_CliJsonProcess)->Unit(benchmark::kMillisecond);

// The whole program streaming a 1,000,000-row paraxial sweep to a CSV file: its rows per second
// of processor time ("rows_per_cpu_s") and its peak memory ("peak_KiB"), which must not grow
// with the number of rows.
void BM_CliSweepToFileProcess(benchmark::State& state) {
    const std::string csv = "/tmp/raysketcher-bench-" + std::to_string(getpid()) + ".csv";
    const std::string plan = "a=-100000:-60:" + std::to_string(state.range(0));
    const char* argv[] = {
        RAYSKETCHER_CLI, "--settings", RAYSKETCHER_EXAMPLES "/camera-50mm-f4-1m.ini",
        "--sweep",       plan.c_str(), "--csv",
        csv.c_str(),     nullptr};
    const ChildUsage used = RunEachIteration(state, argv);
    unlink(csv.c_str());
    state.counters["peak_KiB"] = static_cast<double>(used.peakKiB);
    state.counters["rows_per_cpu_s"] =
        used.cpuSeconds > 0
            ? static_cast<double>(state.iterations() * state.range(0)) / used.cpuSeconds
            : 0;
}
BENCHMARK(BM_CliSweepToFileProcess)->Arg(1000000)->UseRealTime()->Unit(benchmark::kMillisecond);

// The study's picture on top of a 400-row sweep (--plot): loading the export module and its
// toolkit, the sweep once more for the curves, the painting and the PNG ("cpu_ms" per run).
void BM_CliPlotProcess(benchmark::State& state) {
    const std::string png = "/tmp/raysketcher-bench-" + std::to_string(getpid()) + ".png";
    const std::string csv = "/tmp/raysketcher-bench-" + std::to_string(getpid()) + ".csv";
    const char* argv[] = {
        RAYSKETCHER_CLI, "--settings",       RAYSKETCHER_EXAMPLES "/relay-1to1.ini",
        "--sweep",       "a=-1000:-150:400", "--csv",
        csv.c_str(),     "--plot",           png.c_str(),
        nullptr};
    const ChildUsage used = RunEachIteration(state, argv);
    state.counters["cpu_ms"] =
        benchmark::Counter(used.cpuSeconds * 1000, benchmark::Counter::kAvgIterations);
    unlink(png.c_str());
    unlink(csv.c_str());
}
BENCHMARK(BM_CliPlotProcess)->UseRealTime()->Unit(benchmark::kMillisecond);

// The sweep of a paraxial and a beam design: solve, numbers and CSV text per row.
void SweepRows(benchmark::State& state, const char* file, const char* plan) {
    app::DesignState design;
    app::LoadSettings(app::IniFile(file), design);
    app::SweepPlan sweep = std::get<app::SweepPlan>(app::ParseSweep(plan));
    sweep.steps = state.range(0);
    for (auto _ : state) {
        auto prepared = app::DesignSweep::Prepare(design, sweep);
        std::size_t bytes = 0;
        app::WriteSweepCsv({{file, &std::get<app::DesignSweep>(prepared)}},
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
