// The beam solve runs on every slider step and every mouse move of a drag, once per axis, so
// one axis with its extras should stay far below a frame's time.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "app/ini_file.h"
#include "beam/beam_extras.h"
#include "beam/gaussian_beam.h"
#include "drawing/beam_drawing.h"
#include "drawing/recording_surface.h"
#include "ui/beam_drag.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"

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

// The window side of the beam picture: no dialog is ever shown, and the settings file is never
// written by these handlers.
class SilentDialogs final : public rs::ui::Dialogs {
public:
    void Message(std::string_view, rs::ui::Icon) override {}
    std::optional<std::string> Input(std::string_view, std::string_view,
                                     std::string_view) override {
        return std::nullopt;
    }
    rs::ui::Answer Question(std::string_view, rs::ui::Icon) override {
        return rs::ui::Answer::Cancel;
    }
};

struct BeamWindow {
    SilentDialogs dialogs;
    rs::app::IniFile ini{std::filesystem::temp_directory_path() / "bench_beam_drag.ini"};
    rs::ui::MainWindow window{dialogs, ini};
    rs::drawing::BeamDrawingMemory memory;

    // f' 100, s 200, r 0.05 with its picture drawn once, as the window shows it before a grab.
    BeamWindow() {
        window.SetBeamMode(true);
        for (int i : {kGbFocal, kGbObjDist, kGbObjRadius}) window.SetBeamChecked(i, true);
        window.ApplyTypedValue(0, "100");
        window.ApplyTypedValue(1, "200");
        window.ApplyTypedValue(2, "0.05");
        rs::drawing::RecordingSurface surface;
        rs::drawing::RedrawBeam(surface, window.State().design.beam, {}, memory);
    }
};

// One mouse move of a drag of the element: the new object distance from the pixels, the beam
// solve with its extras (and the paraxial solve beside it), the refusal test and the result
// rows; the picture is timed in bench_drawing.
void BM_BeamDragStep(benchmark::State& state) {
    BeamWindow w;
    const rs::drawing::BeamTouchPoints& touch = w.memory.touch;
    const double x = touch.principalX, y = touch.axisY - 20;
    auto session = rs::ui::BeginBeamDrag(w.window, touch, x, y);
    if (!session) {
        state.SkipWithError("the element could not be grabbed");
        return;
    }
    double dx = 1.0;
    for (auto _ : state) {
        dx = -dx;  // back and forth, so every step changes the design
        benchmark::DoNotOptimize(rs::ui::BeamDragTo(w.window, *session, x + 10.0 + dx, y));
    }
    rs::ui::EndBeamDrag(w.window, *session);
}
BENCHMARK(BM_BeamDragStep);

// The read-out under the mouse on every move over the picture while idle.
void BM_BeamHoverInfo(benchmark::State& state) {
    BeamWindow w;
    const rs::drawing::BeamTouchPoints& touch = w.memory.touch;
    const double x = (touch.secondPrincipalX + touch.imageWaistX) / 2;
    for (auto _ : state) {
        auto info = rs::ui::BeamHoverInfo(w.window.State().design, w.memory, x, touch.axisY - 20.0);
        benchmark::DoNotOptimize(info);
    }
}
BENCHMARK(BM_BeamHoverInfo);

}  // namespace

BENCHMARK_MAIN();
