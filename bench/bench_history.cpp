// The design history keeps up to 200 snapshots for the whole run: what one step and a full
// history hold in memory (counters), and what recording a step costs.
#include <benchmark/benchmark.h>

#include <string>

#include "typical_design.h"
#include "ui/history.h"

namespace {

using rs::ui::History;
using rs::ui::Snapshot;

// The typical lens with an aperture, and a beam of three chosen quantities besides.
Snapshot TypicalSnapshot() {
    rs::app::DesignState d;
    d.paraxial = rs::bench::TypicalDesign();
    for (int index : {0, 1, 2}) d.beam.axes[0].selection.AddValue(index, 10.0f);
    return rs::ui::Capture(d);
}

// A name as long as a value step's.
std::string StepText(int n) {
    return "Brennweite: f' 100.0mm → " + std::to_string(100 + n) + ".0mm";
}

void BM_FullHistoryMemory(benchmark::State& state) {
    const Snapshot s = TypicalSnapshot();
    History h;
    for (auto _ : state) {
        h = History{};
        for (int n = 0; n < static_cast<int>(History::kMaxSteps); ++n) h.Record(StepText(n), s, s);
        benchmark::DoNotOptimize(h.Rows());
    }
    state.counters["bytes_per_step"] = static_cast<double>(rs::ui::StepBytes(h.Steps().back()));
    state.counters["full_history_bytes"] = static_cast<double>(h.Bytes());
    state.counters["steps"] = static_cast<double>(h.Steps().size());
}
BENCHMARK(BM_FullHistoryMemory);

// A step on a full history: the oldest goes.
void BM_RecordOnFullHistory(benchmark::State& state) {
    const Snapshot s = TypicalSnapshot();
    History h;
    for (int n = 0; n < static_cast<int>(History::kMaxSteps); ++n) h.Record(StepText(n), s, s);
    int n = 0;
    for (auto _ : state) h.Record(StepText(++n % 100), s, s);
}
BENCHMARK(BM_RecordOnFullHistory);

}  // namespace
