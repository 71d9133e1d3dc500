// Time of one paraxial redraw, the work done at every slider step and drag move on top of the
// solve: extents, fit, rays, labels. The surface records nothing, so only the drawing counts.
#include <benchmark/benchmark.h>

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

}  // namespace

BENCHMARK_MAIN();
