// A held catalogue lens drawn to scale around its principal planes.
#include "drawing/lens_outline.h"

#include <gtest/gtest.h>

#include <cmath>

#include "beam/gaussian_beam.h"
#include "drawing/beam_drawing.h"
#include "drawing/paraxial_drawing.h"
#include "drawing/recording_surface.h"
#include "engine/design_builder.h"

namespace rs::drawing {
namespace {

using namespace engine;  // parameter indices

const std::vector<analysis::CatalogueSurface> kPlanoConvex = {
    {51.68, 12.7, 3.38, 1.5168, 64.17, "N-BK7"}, {0, 12.7, 0, 1, 0, ""}};
// Two singlets with an air gap between them.
const std::vector<analysis::CatalogueSurface> kAirSpaced = {{60, 10, 3, 1.5168, 64.17, "N-BK7"},
                                                            {-60, 10, 1, 1, 0, ""},
                                                            {-55, 9, 2, 1.72825, 28.53, "N-SF10"},
                                                            {-400, 9, 0, 1, 0, ""}};

TEST(LensOutline, SurfacesStandAtTheirVerticesAndOnlyGlassIsClosed) {
    const auto lens = analysis::ThickLensOf(kPlanoConvex, 587.6);
    ASSERT_TRUE(lens);
    const std::vector<OutlinePath> paths = LensOutline(*lens, -10.0);
    ASSERT_EQ(paths.size(), 4u);  // two profiles, the upper and the lower rim
    const OutlinePath& curved = paths[0];
    EXPECT_DOUBLE_EQ(curved[curved.size() / 2].x, -10.0);
    EXPECT_DOUBLE_EQ(curved.front().y, -12.7);
    EXPECT_DOUBLE_EQ(curved.back().y, 12.7);
    const double sag = 51.68 - std::sqrt(51.68 * 51.68 - 12.7 * 12.7);
    EXPECT_NEAR(curved.back().x, -10.0 + sag, 1e-9);
    for (const OutlinePoint& p : paths[1]) EXPECT_NEAR(p.x, -10.0 + 3.38, 1e-12);
    EXPECT_NEAR(paths[2].back().x, -10.0 + 3.38, 1e-12);

    // The air gap of a pair stays open: four profiles and two glasses with two rims each.
    const auto pair = analysis::ThickLensOf(kAirSpaced, 587.6);
    ASSERT_TRUE(pair);
    EXPECT_EQ(LensOutline(*pair, 0.0).size(), 8u);
    EXPECT_DOUBLE_EQ(FirstVertexX(*pair, 5.0), 5.0 - pair->frontPrincipal);
}

TEST(LensOutline, ThePictureDrawsTheHeldLensAroundItsPlanesAndKeepsItInView) {
    ParaxialDrawingOptions options;
    options.lens = analysis::ThickLensOf(kPlanoConvex, 587.6);
    // A short object distance and a small object: the glass is taller than anything else.
    for (bool mirror : {false, true}) {
        SCOPED_TRACE(mirror);
        const ParaxialDesign d = test::Solved(
            {{kFocal, mirror ? -100.0f : 100.0f}, {kObjDist, -200}, {kObjHeight, 2}}, 1, mirror);
        RecordingSurface surface;
        DrawingExtents extents;
        ParaxialTouchPoints touch;
        ASSERT_EQ(RedrawParaxial(surface, d, options, extents, touch), RedrawOutcome::Drawn);
        std::size_t outline = 0;
        for (const SurfaceCall& line : surface.Lines()) {
            if (line.pen.colour != kBlack && line.pen.colour != kRed && line.pen.colour != kBlue &&
                line.pen.colour != kGreen) {
                ++outline;
                EXPECT_LE(std::fabs(line.y1 - touch.scale.WorldToScreenY(0)),
                          std::ceil(12.7 * touch.scale.scaleY) + 1);
            }
        }
        // A mirror holds no lens.
        EXPECT_EQ(outline > 0, !mirror);
        EXPECT_EQ(extents.yMax >= 12.7f, !mirror);
    }
}

TEST(LensOutline, TheBeamPictureDrawsTheUpperHalfAroundTheElement) {
    beam::BeamDesign d;
    d.beamMode = true;
    for (auto [index, value] :
         {std::pair{beam::kGbFocal, 100.0}, {beam::kGbObjDist, 200.0}, {beam::kGbObjRadius, 0.5}}) {
        d.axes[0].selection.AddValue(index, static_cast<float>(value));
    }
    beam::SolveAllAxes(d, {});
    BeamDrawingOptions options;
    options.lens = analysis::ThickLensOf(kPlanoConvex, 587.6);
    RecordingSurface surface(ScaleRect{0, 0, 1200, 700});
    BeamDrawingMemory memory;
    ASSERT_EQ(RedrawBeam(surface, d, options, memory), RedrawOutcome::Drawn);
    const DrawingScale& scale = memory.axes[0].main.scale;
    const double axis = scale.WorldToScreenY(0.0f);
    const double firstVertex = scale.WorldToScreenX(
        static_cast<float>(FirstVertexX(*options.lens, d.Axis(0).extras[beam::kExP])));
    double left = 1e9;
    std::size_t outline = 0;
    for (const SurfaceCall& line : surface.Lines()) {
        if (line.pen.colour != kLensOutlineColour) continue;
        ++outline;
        EXPECT_LE(std::max(line.y1, line.y2), axis + 0.5);  // nothing below the axis
        left = std::min({left, line.x1, line.x2});
    }
    EXPECT_GT(outline, 0u);
    EXPECT_NEAR(left, firstVertex, 1.0);  // the curved face's vertex, on the axis
}

}  // namespace
}  // namespace rs::drawing
