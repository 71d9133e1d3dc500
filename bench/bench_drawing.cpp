// Time of one paraxial or beam redraw, the work done at every slider step and drag move on top
// of the solve: extents or range, scales, rays or envelopes, labels, insets. The surface records
// nothing, so only the drawing counts.
#include <benchmark/benchmark.h>

#include "beam/gaussian_beam.h"
#include "drawing/beam_drawing.h"
#include "drawing/paraxial_drawing.h"
#include "engine/solver.h"
#include "typical_design.h"

namespace {

using namespace rs::drawing;
using namespace rs::engine;

class NullSurface : public Surface {
public:
    void Clear() override { ++calls; }
    void Line(double, double, double, double, const Pen&) override { ++calls; }
    void Box(double, double, double, double, Colour, bool) override { ++calls; }
    void Circle(double, double, double, Colour, bool) override { ++calls; }
    void Text(double, double, std::string_view, Colour) override { ++calls; }
    TextExtent MeasureText(std::string_view text) const override {
        return {7.0 * static_cast<double>(text.size()), 13.0};
    }
    void RotatedText(double, double, std::string_view, const RotatedFont&) override { ++calls; }
    ScaleRect Scale() const override { return {0, 0, 900, 500}; }
    bool FontIsBold() const override { return false; }
    double TwipsPerPixel() const override { return 15.0; }
    long calls = 0;
};

void BM_RedrawParaxial(benchmark::State& state) {
    const ParaxialDesign d = rs::bench::TypicalDesign();
    ParaxialDrawingOptions options;
    options.drawPoints = true;
    options.constructionRays = state.range(0) != 0;
    NullSurface surface;
    DrawingExtents extents;
    ParaxialTouchPoints touch;
    for (auto _ : state) {
        benchmark::DoNotOptimize(RedrawParaxial(surface, d, options, extents, touch));
    }
    benchmark::DoNotOptimize(surface.calls);
}
BENCHMARK(BM_RedrawParaxial)->Arg(0)->Arg(1);

// A HeNe beam focused by a 100 mm lens (M² = 4 in use, detector on: every envelope piece and
// its real-beam copy), or a circularised diode with both axes side by side.
rs::beam::BeamDesign BenchBeam(bool diode) {
    rs::beam::BeamDesign d;
    d.beamMode = true;
    d.diode.diodeMode = diode;
    d.diode.circularise = diode;
    d.diode.paramValues[rs::beam::kGbObjDiv] = 0.03;
    const float values[] = {diode ? 4.0f : 100.0f, diode ? 4.0f : 500.0f, diode ? 0.1f : 0.4f};
    const int third = diode ? rs::beam::kGbObjDiv : rs::beam::kGbObjRadius;
    const int indices[] = {rs::beam::kGbFocal, rs::beam::kGbObjDist, third};
    for (int i = 0; i < 3; ++i) d.axes[0].selection.AddValue(indices[i], values[i]);
    if (!diode) {
        d.extrasOptions.mFactorUse = true;
        d.extrasOptions.mFactor = 4.0;
        d.extrasOptions.detectorOn = true;
        d.extrasOptions.detectorDistance = 150.0;
    }
    rs::beam::SolveAllAxes(d, {});
    return d;
}

void BM_RedrawBeam(benchmark::State& state) {
    const rs::beam::BeamDesign d = BenchBeam(state.range(0) != 0);
    NullSurface surface;
    BeamDrawingMemory memory;
    for (auto _ : state) {
        benchmark::DoNotOptimize(RedrawBeam(surface, d, {}, memory));
    }
    if (RedrawBeam(surface, d, {}, memory) != RedrawOutcome::Drawn)
        state.SkipWithError("not drawn");
    benchmark::DoNotOptimize(surface.calls);
}
BENCHMARK(BM_RedrawBeam)->ArgName("diode")->Arg(0)->Arg(1);

}  // namespace

BENCHMARK_MAIN();
