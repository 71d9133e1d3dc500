// What one slider step costs in the paraxial window: solve, depth of field and the texts of the
// result list; and the command-line program run as a whole process.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fcntl.h>
#include <unistd.h>

#include "app/presentation.h"

extern char** environ;

namespace {

using namespace rs;

app::DesignState CameraDesign() {
    app::DesignState s;
    engine::ParaxialDesign& d = s.paraxial;
    for (auto [index, value] : {std::pair{engine::kFocal, 50.f},
                                {engine::kObjDist, -1000.f},
                                {engine::kImgHeight, 12.f}}) {
        d.params.AddValue(index, value);
    }
    d.aperture.AddValue(engine::kFNumber, 4.0f);
    return s;
}

void BM_SolveDofAndRows(benchmark::State& state) {
    app::DesignState s = CameraDesign();
    engine::ResultListCache cache;
    beam::BeamListCache beamCache;
    float a = -1000.f;
    for (auto _ : state) {
        a = a < -5000.f ? -1000.f : a - 1.f;
        s.paraxial.params.SetValue(2, a);
        app::SolveDesign(s, true);
        engine::ResultList rows = app::ResultRows(s, false, cache, beamCache);
        analysis::DofPanel panel = app::PresentedDofPanel(s);
        benchmark::DoNotOptimize(rows);
        benchmark::DoNotOptimize(panel);
    }
}
BENCHMARK(BM_SolveDofAndRows);

void BM_CliProcess(benchmark::State& state) {
    const char* argv[] = {RAYSKETCHER_CLI, "--settings", RAYSKETCHER_EXAMPLE, "--json", nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    for (auto _ : state) {
        pid_t pid = 0;
        if (posix_spawn(&pid, argv[0], &actions, nullptr, const_cast<char**>(argv), environ) != 0) {
            state.SkipWithError("raysketcher-cli could not be started");
            break;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("raysketcher-cli failed");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
}
BENCHMARK(BM_CliProcess)->Unit(benchmark::kMillisecond);

}  // namespace
