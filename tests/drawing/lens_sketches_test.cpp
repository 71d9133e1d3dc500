// Drawing: the sample pictures of the lens and mirror types, and the tracing behind them.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "analysis/lens_ideas.h"
#include "drawing/lens_sketches.h"
#include "drawing/lens_trace.h"
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

// How far `point` lies from the line of the ray leaving a path.
double MissOfOutgoingRay(const sketch_optics::Path& path, double x, double y) {
    const sketch_optics::Ray& r = path.out;
    return std::fabs((x - r.x) * r.dy - (y - r.y) * r.dx);
}

}  // namespace

namespace sketch_optics {

constexpr double kGlass = 1.5;

Prescription ConcaveParaboloid(double hole) {
    return {.rows = {{-200.0, -100.0, kAir, 40.0, Role::Mirror, -1.0, 0.0, hole}}};
}

TEST(LensTrace, AParaboloidSendsEveryAxialRayThroughItsFocusAndLosesThoseInItsHole) {
    const System sys = Place(ConcaveParaboloid(5.0));
    const std::vector<Path> bundle = TraceBundle(sys, 0.0, {-0.9, -0.45, 0.45, 0.9});
    ASSERT_EQ(bundle.size(), 4u);
    for (const Path& path : bundle) EXPECT_LT(MissOfOutgoingRay(path, -100.0, 0.0), 1e-9);
    const auto focus = Focus(bundle);
    ASSERT_TRUE(focus.has_value());
    EXPECT_NEAR(focus->x, -100.0, 1e-9);
    EXPECT_NEAR(focus->y, 0.0, 1e-9);

    // A ray in the hole is lost, and a single ray left over is no bundle.
    EXPECT_TRUE(TraceBundle(sys, 0.0, {-0.1, 0.1}).empty());
    EXPECT_TRUE(TraceBundle(sys, 0.0, {0.1, 0.9}).empty());
    EXPECT_FALSE(Focus({}).has_value());
}

TEST(LensTrace, AThickSingletFocusesWhereTheThickLensFormulaPutsIt) {
    struct Case {
        double r1, r2, thickness;
    };
    for (const Case& c : {Case{50.0, -50.0, 5.0}, Case{40.0, 0.0, 8.0}, Case{30.0, 80.0, 4.0}}) {
        SCOPED_TRACE(c.r1);
        const System sys =
            Place({.rows = {{c.r1, c.thickness, kGlass, 10.0}, {c.r2, 100.0, kAir, 10.0}}});
        const double c1 = 1.0 / c.r1, c2 = c.r2 == 0.0 ? 0.0 : 1.0 / c.r2;
        const double g = (kGlass - 1.0) * c.thickness / kGlass;
        const double power = (kGlass - 1.0) * (c1 - c2 + g * c1 * c2);
        const double backFocus = (1.0 - g * c1) / power;
        const auto focus = ParaxialFocus(sys);
        ASSERT_TRUE(focus.has_value());
        EXPECT_NEAR(focus->x, c.thickness + backFocus, 1e-3 * backFocus);
    }
}

TEST(LensTrace, WideFieldRaysAreAimedAtTheirHeightInTheStopAndTheRimsHoldThem) {
    // The fisheye bends its 70° chief ray furthest from a straight line.
    System sys = Place(Prescriptions(false).front());
    const Surf& stop = sys.surfs[static_cast<std::size_t>(sys.aperture)];
    ASSERT_EQ(stop.role, Role::Stop);
    const std::vector<double> fan = {-0.8, 0.0, 0.8};
    const std::vector<Path> field = TraceBundle(sys, 70.0, fan);
    ASSERT_EQ(field.size(), fan.size());
    for (std::size_t i = 0; i < fan.size(); ++i) {
        EXPECT_NEAR(field[i].hits[static_cast<std::size_t>(sys.aperture)].y, fan[i] * stop.semi,
                    1e-6);
        EXPECT_LT(field[i].in.dy, 0.0);  // from the upper left
    }
    FitRims(sys, {field});
    for (const Path& path : field) {
        for (std::size_t i = 0; i < path.hits.size(); ++i) {
            EXPECT_LE(std::fabs(path.hits[i].y), sys.surfs[i].semi * (1.0 + 1e-12)) << i;
        }
    }
}

}  // namespace sketch_optics
}  // namespace rs::drawing
