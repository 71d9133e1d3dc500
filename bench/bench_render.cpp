// Time of one redraw painted for real: RedrawParaxial and RedrawBeam through QtSurface onto a
// 1200x700 image, the size of a large drawing area. This is what every slider step and drag
// move costs on screen on top of the solve; the aims are medians of at most 2 ms (paraxial), 1 ms
// (one beam axis) and 2 ms (both diode axes).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "analysis/lens_ideas.h"
#include "app/ini_file.h"
#include "app/presentation.h"
#include "app/settings.h"
#include "drawing/ap_field_drawing.h"
#include "drawing/beam_drawing.h"
#include "drawing/paraxial_drawing.h"
#include "drawing/study_plot.h"
#include "engine/solver.h"
#include "render/qt_surface.h"
#include "typical_design.h"
#include "ui/study.h"

namespace {

using namespace rs::drawing;
using namespace rs::engine;

// Arg: 0 ray fans, 1 construction rays; both with the focal points and their labels.
void BM_PaintParaxial1200x700(benchmark::State& state) {
    const ParaxialDesign d = rs::bench::TypicalDesign();
    ParaxialDrawingOptions options;
    options.drawPoints = true;
    options.constructionRays = state.range(0) != 0;
    QImage image(1200, 700, QImage::Format_RGB32);
    DrawingExtents extents;
    ParaxialTouchPoints touch;
    for (auto _ : state) {
        QPainter painter(&image);
        rs::render::QtSurface surface(painter, QRectF(0, 0, image.width(), image.height()));
        benchmark::DoNotOptimize(RedrawParaxial(surface, d, options, extents, touch));
    }
    // A figure for painting nothing would be worthless: the picture must hold the drawing.
    if (image.pixel(600, 0) != qRgb(255, 255, 255) || image.pixel(5, 350) != qRgb(255, 255, 255) ||
        image.pixel(10, 350) != qRgb(0, 0, 0)) {
        state.SkipWithError("the image does not hold the drawing");
    }
}
BENCHMARK(BM_PaintParaxial1200x700)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->DisplayAggregatesOnly(true);

// Arg: 0 the focused HeNe beam with M² = 4 and a detector (one axis), 1 the circularised diode
// (two axes side by side).
void BM_PaintBeam1200x700(benchmark::State& state) {
    const char* file =
        state.range(0) == 0 ? RAYSKETCHER_GOLDEN "/beam.ini" : RAYSKETCHER_GOLDEN "/diode.ini";
    rs::app::DesignState design;
    rs::app::LoadSettings(rs::app::IniFile(file), design);
    rs::app::SolveDesign(design, false);
    QImage image(1200, 700, QImage::Format_RGB32);
    BeamDrawingMemory memory;
    RedrawOutcome outcome = RedrawOutcome::NotSolved;
    for (auto _ : state) {
        QPainter painter(&image);
        rs::render::QtSurface surface(painter, QRectF(0, 0, image.width(), image.height()));
        outcome = RedrawBeam(surface, design.beam, {}, memory);
    }
    if (outcome != RedrawOutcome::Drawn) state.SkipWithError("the beam was not drawn");
}
BENCHMARK(BM_PaintBeam1200x700)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->DisplayAggregatesOnly(true);

// The small aperture/field plot of the window (370x290 with its axes) with all fifteen lens
// types, two of them highlighted and the design's cross-hair. Aim: at most 1 ms.
void BM_PaintApFieldPlot(benchmark::State& state) {
    const int w = 370, h = 290;
    QImage image(w, h, QImage::Format_RGB32);
    QPainter painter(&image);
    rs::render::QtSurface surface(painter, QRectF(0, 0, w, h));
    const rs::drawing::ApFieldLayout layout =
        rs::drawing::LayOutApFieldPlot(surface, {0, 0, double(w), double(h)}, false, false);
    ApFieldDrawing options;
    options.design = rs::analysis::PlotPoint{0.125, 20};
    options.highlighted = {3, 6};
    options.shortNames = true;
    for (auto _ : state) DrawApFieldPlot(surface, layout, options);
}
BENCHMARK(BM_PaintApFieldPlot)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->DisplayAggregatesOnly(true);

// One hover: which types lie under the cursor, tested against all fifteen regions. Aim: 20 µs.
void BM_LensClassesAt(benchmark::State& state) {
    const rs::analysis::PlaneToPixels plot{12, 308, 228, 12};  // the small plot, 320x240
    double x = 12;
    for (auto _ : state) {
        x = x >= 300 ? 12 : x + 7;
        benchmark::DoNotOptimize(rs::analysis::LensClassesAt(false, plot, x, 240 - x * 0.7));
    }
}
BENCHMARK(BM_LensClassesAt)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->DisplayAggregatesOnly(true);

// A design study as a slider step with the study shown costs it: 1,000 values of the parameter
// solved and the curves painted through QtSurface onto a 1200x400 image. The aim is a median of
// at most 5 ms, so that the step with the rest of its redraw stays inside a 16 ms frame.
// Arg: 0 the relay lens (a' against a), 1 the focused HeNe beam (r' against s), 2 the diode.
void BM_Study1000Points1200x400(benchmark::State& state) {
    const char* files[] = {RAYSKETCHER_GOLDEN "/../relay.ini", RAYSKETCHER_GOLDEN "/beam.ini",
                           RAYSKETCHER_GOLDEN "/diode.ini"};
    rs::app::DesignState design;
    rs::app::LoadSettings(rs::app::IniFile(files[state.range(0)]), design);
    rs::app::SolveDesign(design, false);
    QImage image(1200, 400, QImage::Format_RGB32);
    std::size_t drawn = 0;
    for (auto _ : state) {
        const StudyPlotData data = rs::ui::ComputeStudy(design, 1000);
        QPainter painter(&image);
        rs::render::QtSurface surface(painter, QRectF(0, 0, image.width(), image.height()));
        const PlotFrame frame = LayOutStudyPlot(surface, surface.Scale(), data);
        DrawStudyPlot(surface, frame, data);
        drawn = data.series.empty() ? 0 : data.series[0].points.size();
    }
    if (drawn != 1000) state.SkipWithError("the study has no curve of 1,000 points");
}
BENCHMARK(BM_Study1000Points1200x400)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->DisplayAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    // No display needed: the image is painted by the raster engine.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
