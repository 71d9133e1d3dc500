// Drawing: the sample pictures of the lens and mirror types.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "analysis/lens_ideas.h"
#include "drawing/lens_sketches.h"
#include "drawing/recording_surface.h"

namespace rs::drawing {
namespace {

const ScaleRect kCell{20, 10, 600, 300};

bool Inside(const ScaleRect& r, double x, double y) {
    return std::isfinite(x) && std::isfinite(y) && x >= r.left && x <= r.left + r.width &&
           y >= r.top && y <= r.top + r.height;
}

// Where each red ray ends: the last point of every connected run of red lines.
std::vector<PixelPoint> RedRayEnds(const RecordingSurface& surface) {
    std::vector<PixelPoint> ends;
    bool inRun = false;
    PixelPoint last;
    for (const SurfaceCall& line : surface.Lines()) {
        if (line.pen.colour != kRed) continue;
        const bool continues = inRun && line.x1 == last.x && line.y1 == last.y;
        if (!continues && inRun) ends.push_back(last);
        last = {line.x2, line.y2};
        inRun = true;
    }
    if (inRun) ends.push_back(last);
    return ends;
}

TEST(LensSketches, EveryTypeIsDrawnInsideItsCellWithItsNameAndAFocus) {
    for (const bool mirror : {false, true}) {
        const auto& types = analysis::LensClasses(mirror);
        for (int index = 0; index < static_cast<int>(types.size()); ++index) {
            for (const SketchKind kind : {SketchKind::Lens, SketchKind::Rays}) {
                SCOPED_TRACE(types[static_cast<std::size_t>(index)].names.front() +
                             (kind == SketchKind::Rays ? " rays" : " lens"));
                RecordingSurface surface(kCell);
                DrawLensTypeSketch(surface, mirror, index, kind);
                ASSERT_FALSE(surface.Calls().empty());
                EXPECT_EQ(surface.Calls().front().kind, SurfaceCall::Kind::Clear);

                const auto lines = surface.Lines();
                EXPECT_GE(lines.size(), 20u);
                for (const SurfaceCall& l : lines) {
                    ASSERT_TRUE(Inside(kCell, l.x1, l.y1) && Inside(kCell, l.x2, l.y2)) << l;
                }
                for (const SurfaceCall& c : surface.Of(SurfaceCall::Kind::Circle)) {
                    EXPECT_TRUE(Inside(kCell, c.x1, c.y1)) << c;
                }

                // The caption names every name of the type, without the blanks that set some
                // of them off in the plot's list.
                const auto texts = surface.Texts();
                ASSERT_FALSE(texts.empty());
                const SurfaceCall& caption = texts.back();
                EXPECT_TRUE(Inside(kCell, caption.x1, caption.y1));
                EXPECT_NE(caption.text.front(), ' ');
                for (const std::string& name : types[static_cast<std::size_t>(index)].names) {
                    EXPECT_NE(caption.text.find(name.substr(name.find_first_not_of(' '))),
                              std::string::npos)
                        << caption.text;
                }

                const auto ends = RedRayEnds(surface);
                if (kind == SketchKind::Lens) {
                    EXPECT_TRUE(ends.empty());
                    continue;
                }
                // The axial bundle converges: its rays end together, at the focus.
                ASSERT_GE(ends.size(), 4u);
                PixelPoint mean;
                for (const PixelPoint& e : ends) {
                    mean.x += e.x / static_cast<double>(ends.size());
                    mean.y += e.y / static_cast<double>(ends.size());
                }
                for (const PixelPoint& e : ends) {
                    EXPECT_LE(std::hypot(e.x - mean.x, e.y - mean.y), 3.0)
                        << e.x << "," << e.y << " from " << mean.x << "," << mean.y;
                }
            }
        }
    }
}

TEST(LensSketches, NothingButTheClearOutsideTheCatalogueOrOnATinySurface) {
    for (const bool mirror : {false, true}) {
        const int count = static_cast<int>(analysis::LensClasses(mirror).size());
        for (const int index : {-1, count, 1000}) {
            RecordingSurface surface(kCell);
            DrawLensTypeSketch(surface, mirror, index, SketchKind::Rays);
            ASSERT_EQ(surface.Calls().size(), 1u);
            EXPECT_EQ(surface.Calls().front().kind, SurfaceCall::Kind::Clear);
        }
        RecordingSurface tiny({0, 0, 10, 10});
        DrawLensTypeSketch(tiny, mirror, 0, SketchKind::Rays);
        ASSERT_EQ(tiny.Calls().size(), 1u);
        EXPECT_EQ(tiny.Calls().front().kind, SurfaceCall::Kind::Clear);
    }
}

}  // namespace
}  // namespace rs::drawing
