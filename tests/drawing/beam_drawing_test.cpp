// Drawing: the Gaussian-beam picture (layouts, x range, envelopes, marks, insets, drags).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "beam/beam_extras.h"
#include "beam/gaussian_beam.h"
#include "drawing/beam_drawing.h"
#include "drawing/recording_surface.h"
#include "support/numeric.h"

namespace rs::drawing {
namespace {

using namespace beam;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
const ScaleRect kWide{0, 0, 1200, 700};

// A solved single-axis design: element f', object waist radius r at distance s; `hh` the
// principal-plane separation.
BeamDesign Beam(double f, double s, double r, double hh = 0.0) {
    BeamDesign d;
    d.beamMode = true;
    for (auto [index, value] : {std::pair{kGbFocal, f}, {kGbObjDist, s}, {kGbObjRadius, r}}) {
        d.axes[0].selection.AddValue(index, static_cast<float>(value));
    }
    SolveAllAxes(d, {hh, 1.0, nullptr});
    return d;
}

// A diode whose second axis diverges less (and so gets a longer focal length when
// circularised).
BeamDesign Diode(bool circularise = false) {
    BeamDesign d;
    d.beamMode = true;
    d.diode.diodeMode = true;
    d.diode.circularise = circularise;
    d.diode.paramValues[kGbObjDiv] = 0.03;
    for (auto [index, value] : {std::pair{kGbFocal, 10.0}, {kGbObjDist, 20.0}, {kGbObjDiv, 0.1}}) {
        d.axes[0].selection.AddValue(index, static_cast<float>(value));
    }
    SolveAllAxes(d, {});
    return d;
}

double X(const BeamDesign& d, int extra, int axis = 0) {
    return d.Axis(axis).extras[static_cast<std::size_t>(extra)];
}
double T(const BeamDesign& d, int index, int axis = 0) {
    return d.Axis(axis).table[static_cast<std::size_t>(index)];
}

struct Picture {
    RecordingSurface surface{kWide};
    BeamDrawingMemory memory;
    RedrawOutcome outcome = RedrawOutcome::NotSolved;

    explicit Picture(ScaleRect area = kWide) : surface(area) {}

    RedrawOutcome Draw(const BeamDesign& d, BeamDrawingOptions o = {}) {
        surface.Forget();
        outcome = RedrawBeam(surface, d, o, memory);
        return outcome;
    }
    const DrawingScale& Main(int axis = 0) const {
        return memory.axes[static_cast<std::size_t>(axis)].main.scale;
    }
    // Lines of one colour above the axis of the main picture (the envelopes and marks; the
    // insets lie below it), of the given style.
    std::vector<SurfaceCall> Upper(Colour colour, LineStyle style = LineStyle::Solid) const {
        const double axis = Main().WorldToScreenY(0.0f);
        std::vector<SurfaceCall> out;
        for (const SurfaceCall& c : surface.Lines()) {
            if (c.pen.colour == colour && c.pen.style == style && c.y1 < axis && c.y2 < axis &&
                c.x1 != c.x2) {
                out.push_back(c);
            }
        }
        return out;
    }
    std::set<Colour> Colours() const {
        std::set<Colour> out;
        for (const SurfaceCall& c : surface.Lines()) out.insert(c.pen.colour);
        return out;
    }
};

// The world radius of a polyline (sorted by pixel x) at world x, interpolated.
double RadiusAt(const std::vector<SurfaceCall>& lines, const DrawingScale& s, double x) {
    const double px = s.WorldToScreenX(static_cast<float>(x));
    for (const SurfaceCall& c : lines) {
        const double lo = std::min(c.x1, c.x2), hi = std::max(c.x1, c.x2);
        if (px < lo || px > hi) continue;
        const double t = (px - c.x1) / (c.x2 - c.x1);
        return s.ScreenToWorldY(static_cast<float>(c.y1 + t * (c.y2 - c.y1)));
    }
    return kNaN;
}

// --- x range ---------------------------------------------------------------------------------

TEST(BeamXRange, ScaleChoices) {
    EXPECT_EQ(BeamScaleChoiceText(4), "2-fache Schnittweite ");
    EXPECT_EQ(BeamScaleChoiceText(7), "");

    const BeamDesign base = Beam(100, 200, 0.1, 10);  // P = 200, P' = 210
    const AxialRange automatic = BeamDrawingRange(base);
    const double width = automatic.max - automatic.min, waist = X(base, kExImageWaist);
    // clang-format off
    const struct { int choice; double d; double min, max; } cases[] = {
        {0, 50, automatic.min, automatic.max}, {9, 50, automatic.min, automatic.max},
        {1, 50, 0, 50}, {1, 0, 0, width}, {1, -5, 0, width}, {1, kNaN, 0, width},
        {2, 50, 155, 255}, {3, 50, waist - 50, waist},
        {4, 0, 0, 410}, {5, 0, -100, 510}, {6, 0, -200, 610}};
    // clang-format on
    for (const auto& c : cases) {
        BeamDesign d = base;
        d.extrasOptions.drgScaleType = c.choice;
        d.extrasOptions.drgScale = c.d;
        const AxialRange r = BeamXRange(d);
        EXPECT_REL(r.min, c.min) << c.choice << " " << c.d;
        EXPECT_REL(r.max, c.max) << c.choice << " " << c.d;
    }

    // A diverging element under a multiple of the focal length: |f'| keeps the range upright.
    BeamDesign diverging = Beam(-100, 200, 0.1);
    diverging.extrasOptions.drgScaleType = 4;
    const AxialRange r = BeamXRange(diverging);
    EXPECT_EQ(std::pair(r.min, r.max), std::pair(0.0, 400.0));

    // A waist more than 20 focal lengths away is left out: the picture starts 20 f' before F.
    Picture far;
    const BeamDesign remote = Beam(100, 3000, 0.1);
    ASSERT_EQ(far.Draw(remote), RedrawOutcome::Drawn);
    EXPECT_GT(far.Main().worldXMin, 0.0f);
    EXPECT_EQ(far.surface.FindText("r"), nullptr);
}

TEST(BeamXRange, DiodeAxesShareTheUnionOfTheirRanges) {
    BeamDesign d = Diode(true);
    ASSERT_FALSE(d.axes[1].resultInvalid);
    d.extrasOptions.drgScaleType = 4;
    const double f0 = T(d, kGbFocal, 0), f1 = T(d, kGbFocal, 1);
    ASSERT_GT(f1, f0);  // the slower axis needs the longer focal length
    const AxialRange r = BeamXRange(d);
    EXPECT_REL(r.min, std::min(X(d, kExP, 0) - 2 * f0, X(d, kExP, 1) - 2 * f1));
    EXPECT_REL(r.max, X(d, kExPImage, 1) + 2 * f1);
}

// --- Envelopes ---------------------------------------------------------------------------------

TEST(BeamEnvelope, RadiiAtRayleighAndAtTheImageWaist) {
    const BeamDesign d = Beam(100, 200, 0.1);  // zr ≈ 49.6 mm, within s
    Picture p;
    ASSERT_EQ(p.Draw(d), RedrawOutcome::Drawn);
    const DrawingScale& s = p.Main();
    const double pixel = s.ScreenToWorldDY(1.0f);
    const auto red = p.Upper(kRed);
    ASSERT_EQ(red.size(), kEnvelopeSamples - 1u);  // one envelope on each side
    // Without a detector the image side goes on beyond its waist towards the picture's end.
    EXPECT_GT(p.Upper(kBlue).size(), kEnvelopeSamples - 1u);
    const double r = T(d, kGbObjRadius), zr = T(d, kGbObjRayleigh);
    EXPECT_NEAR(RadiusAt(red, s, zr), r * std::sqrt(2.0), 1.5 * pixel);
    // The image-side envelope starts at the image waist with its radius.
    const auto blue = p.Upper(kBlue);
    EXPECT_EQ(blue.front().x1, std::round(s.WorldToScreenX(float(X(d, kExImageWaist)))));
    EXPECT_NEAR(s.ScreenToWorldY(float(blue.front().y1)), T(d, kGbImgRadius), 1.0 * pixel);
    EXPECT_FALSE(p.Colours().contains(kObjectBeamMScreen));  // M² is off

    // A detector beyond the image waist continues the image side up to it.
    BeamDesign detector = d;
    detector.extrasOptions = {.detectorOn = true, .detectorDistance = 250};
    SolveAllAxes(detector, {});
    ASSERT_EQ(p.Draw(detector), RedrawOutcome::Drawn);
    const auto longer = p.Upper(kBlue);
    ASSERT_EQ(longer.size(), 2 * (kEnvelopeSamples - 1u));
    EXPECT_EQ(longer.back().x2,
              std::round(p.Main().WorldToScreenX(float(X(detector, kExDetector)))));
}

TEST(BeamEnvelope, RealBeamWithMSquaredInScreenAndPrintColours) {
    BeamDesign d = Beam(100, 200, 0.1);
    d.extrasOptions.mFactor = 4;
    Picture p;
    ASSERT_EQ(p.Draw(d), RedrawOutcome::Drawn);
    EXPECT_FALSE(p.Colours().contains(kObjectBeamMScreen));  // stored but not in use
    d.extrasOptions.mFactorUse = true;
    ASSERT_EQ(p.Draw(d), RedrawOutcome::Drawn);
    const auto red = p.Upper(kRed), real = p.Upper(kObjectBeamMScreen);
    ASSERT_EQ(real.size(), red.size());
    EXPECT_EQ(p.Upper(kImageBeamMScreen).size(), p.Upper(kBlue).size());
    const DrawingScale& s = p.Main();
    const double axis = s.WorldToScreenY(0.0f);
    EXPECT_NEAR(axis - real[40].y1, 2.0 * (axis - red[40].y1), 1.0);  // M = 2
    // The radius rows a drag grabs are those of the drawn real beam.
    EXPECT_EQ(real.front().y1, std::round(p.memory.touch.objectRadiusY));
    EXPECT_EQ(p.memory.touch.markY, p.memory.touch.axisY + 20.0f);
    EXPECT_NEAR(p.memory.touch.elementRadiusY, s.WorldToScreenY(s.worldYMax), 0.5);

    ASSERT_EQ(p.Draw(d, {.printing = true}), RedrawOutcome::Drawn);
    const auto colours = p.Colours();
    EXPECT_TRUE(colours.contains(kObjectBeamMPrint) && colours.contains(kImageBeamMPrint));
    EXPECT_FALSE(colours.contains(kObjectBeamMScreen) || colours.contains(kImageBeamMScreen));
}

// Behind a diverging element the image waist is virtual: dotted from it to the element, and the
// real beam drawn on to the picture's end, inside the frame.
TEST(BeamEnvelope, DivergingElementShowsTheBeamItSendsOn) {
    const BeamDesign d = Beam(-100, 300, 0.3);
    ASSERT_LT(T(d, kGbImgDist), 0.0);
    Picture p;
    ASSERT_EQ(p.Draw(d), RedrawOutcome::Drawn);
    const DrawingScale& s = p.Main();
    EXPECT_EQ(p.Upper(kBlue, LineStyle::Dotted).size(), kEnvelopeSamples - 1u);
    const auto real = p.Upper(kBlue);
    ASSERT_EQ(real.size(), kEnvelopeSamples - 1u);
    EXPECT_EQ(real.back().x2, std::round(s.WorldToScreenX(s.worldXMax)));
    EXPECT_GE(real.back().y2, s.WorldToScreenY(s.worldYMax) - 0.5);
    EXPECT_NE(p.surface.FindText("Bildtaille (virtuell)"), nullptr);
}

// --- Layouts -----------------------------------------------------------------------------------

TEST(BeamLayout, ByAspectInDiodeModeOnly) {
    const BeamDesign diode = Diode();
    ASSERT_FALSE(diode.axes[1].resultInvalid);
    EXPECT_EQ(BeamLayoutFor(Beam(100, 200, 0.1), {0, 0, 1200, 700}), BeamLayout::Single);
    // clang-format off
    const struct { double w, h; BeamLayout layout; double left1, top1; } cases[] = {
        {700, 700, BeamLayout::Single, 0, 0}, {840, 700, BeamLayout::SideBySide, 420, 0},
        {560, 700, BeamLayout::Stacked, 0, 350}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.w);
        Picture p({0, 0, c.w, c.h});
        ASSERT_EQ(p.Draw(diode), RedrawOutcome::Drawn);
        EXPECT_EQ(p.memory.layout, c.layout);
        const BeamAxisFrame& second = p.memory.axes[1];
        ASSERT_TRUE(second.defined);
        EXPECT_EQ(std::pair(second.area.left, second.area.top), std::pair(c.left1, c.top1));
        // Both axes are named; in one area the second one's lines are dotted, and its element,
        // the same as the first one's, is not labelled twice.
        EXPECT_TRUE(p.surface.FindText("Achse 1") && p.surface.FindText("Achse 2"));
        EXPECT_EQ(p.Upper(kRed, LineStyle::Dotted).empty(), c.layout != BeamLayout::Single);
        EXPECT_TRUE(p.surface.FindText("P") && !p.surface.FindText("P[2]"));
        // Every axis on one scale, so the two can be compared.
        EXPECT_EQ(p.Main(0).scaleY, p.Main(1).scaleY);
    }
    // An axis without a solution is left out.
    BeamDesign half = diode;
    half.axes[1].resultInvalid = true;
    Picture p({0, 0, 840, 700});
    ASSERT_EQ(p.Draw(half), RedrawOutcome::Drawn);
    EXPECT_FALSE(p.memory.axes[1].defined);
    EXPECT_EQ(p.surface.FindText("Achse 2"), nullptr);
}

// --- Labels and insets -------------------------------------------------------------------------

TEST(BeamLabels, NeverOverlapAndGiveWayByPriority) {
    BeamDesign detector = Beam(100, 200, 0.1, 5);
    detector.extrasOptions = {
        .mFactorUse = true, .mFactor = 4, .detectorOn = true, .detectorDistance = 150};
    SolveAllAxes(detector, {5.0, 1.0, nullptr});
    // Far out under a fixed distance every mark lies within a few pixels of the element.
    BeamDesign crowded = detector;
    crowded.extrasOptions.drgScaleType = 1;
    crowded.extrasOptions.drgScale = 1e6;
    struct Case {
        BeamDesign design;
        ScaleRect area;
    };
    const std::vector<Case> cases = {{Beam(100, 500, 0.4), kWide},
                                     {Beam(-50, 300, 0.3), {0, 0, 820, 560}},
                                     {detector, kWide},
                                     {crowded, kWide},
                                     {Diode(true), {0, 0, 700, 700}},
                                     {Diode(true), {0, 0, 820, 560}}};
    for (const Case& c : cases) {
        Picture p(c.area);
        ASSERT_EQ(p.Draw(c.design), RedrawOutcome::Drawn);
        const auto texts = p.surface.Texts();
        ASSERT_NE(p.surface.FindText("P"), nullptr);
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const TextExtent a = p.surface.MeasureText(texts[i].text);
            for (std::size_t j = i + 1; j < texts.size(); ++j) {
                const TextExtent b = p.surface.MeasureText(texts[j].text);
                const bool apart =
                    texts[i].x1 + a.width <= texts[j].x1 || texts[j].x1 + b.width <= texts[i].x1 ||
                    texts[i].y1 + a.height <= texts[j].y1 || texts[j].y1 + b.height <= texts[i].y1;
                EXPECT_TRUE(apart) << texts[i] << " and " << texts[j];
            }
        }
    }
    // Crowded: the element keeps the first row, the next marks take the second, the rest give
    // way (P' least of all).
    Picture p;
    ASSERT_EQ(p.Draw(crowded), RedrawOutcome::Drawn);
    const SurfaceCall* element = p.surface.FindText("P");
    const SurfaceCall* waist = p.surface.FindText("r'");
    ASSERT_TRUE(element && waist);
    EXPECT_GT(waist->y1, element->y1);
    EXPECT_EQ(p.surface.FindText("P'"), nullptr);
}

TEST(BeamInsets, ValuesAroundTheWaistsOrNothingWhereThereIsNoRoom) {
    const BeamDesign d = Beam(100, 200, 0.1);
    Picture p;
    ASSERT_EQ(p.Draw(d), RedrawOutcome::Drawn);
    ASSERT_TRUE(p.memory.axes[0].insets);
    EXPECT_EQ(p.surface.Of(SurfaceCall::Kind::Box).size(), 2u);
    EXPECT_NE(p.surface.FindText("2r = 0.2 mm   zr = 49.6 mm"), nullptr);
    // Both halves of the object beam: red lines below the inset's axis as well as above.
    const DrawingScale& inset = p.memory.axes[0].objectInset.scale;
    const double top = inset.WorldToScreenY(5.0f);
    int lower = 0;
    for (const SurfaceCall& c : p.surface.Lines()) {
        if (c.pen.colour == kRed && c.y1 > top && c.y1 > inset.WorldToScreenY(0.0f)) ++lower;
    }
    EXPECT_GE(lower, kEnvelopeSamples - 1);

    // Without a waist radius the inset stays an empty frame.
    BeamDesign flat = d;
    flat.axes[0].table[kGbObjRadius] = 0.0;
    ASSERT_EQ(p.Draw(flat), RedrawOutcome::Drawn);
    for (const SurfaceCall& c : p.surface.Lines()) {
        EXPECT_FALSE(c.pen.colour == kRed && c.y1 > top) << c;
    }

    Picture tiny({0, 0, 120, 50});
    ASSERT_EQ(tiny.Draw(d), RedrawOutcome::Drawn);
    EXPECT_FALSE(tiny.memory.axes[0].insets);
    EXPECT_TRUE(tiny.surface.Of(SurfaceCall::Kind::Box).empty());
}

TEST(BeamAtPixel, WhereverABeamIsDrawnInEitherDiodePicture) {
    Picture p;
    const BeamDesign diode = Diode();
    ASSERT_EQ(p.Draw(diode), RedrawOutcome::Drawn);
    ASSERT_EQ(p.memory.layout, BeamLayout::SideBySide);
    for (int axis : {0, 1}) {
        const DrawingScale& s = p.Main(axis);
        const double px = s.WorldToScreenX(static_cast<float>(X(diode, kExP, axis) / 2));
        const auto at = BeamAtPixel(diode, p.memory, px, s.WorldToScreenY(0.0f) - 10);
        ASSERT_TRUE(at) << axis;
        EXPECT_EQ(at->axis, axis);
        EXPECT_TRUE(at->objectSide);
    }

    // Beyond a real image waist without a detector the beam runs on to the picture's end.
    const BeamDesign d = Beam(100, 200, 0.1);
    ASSERT_EQ(p.Draw(d), RedrawOutcome::Drawn);
    const DrawingScale& s = p.Main();
    const double axisY = s.WorldToScreenY(0.0f);
    const double waist = X(d, kExImageWaist);
    const double beyond = s.WorldToScreenX(static_cast<float>((waist + s.worldXMax) / 2));
    const auto at = BeamAtPixel(d, p.memory, beyond, axisY - 10);
    ASSERT_TRUE(at);
    EXPECT_FALSE(at->objectSide);
    EXPECT_NEAR(at->distance, s.ScreenToWorldX(static_cast<float>(beyond)) - waist, 1e-3);
    // Only in the band from the frame's top to 15 pixels below the axis, and only over a beam.
    const double middle = s.WorldToScreenX(100.0f);
    EXPECT_TRUE(BeamAtPixel(d, p.memory, middle, axisY + 15));
    EXPECT_FALSE(BeamAtPixel(d, p.memory, middle, axisY + 16));
    EXPECT_FALSE(BeamAtPixel(d, p.memory, middle, p.memory.axes[0].header - 1));
    EXPECT_FALSE(BeamAtPixel(d, p.memory, s.WorldToScreenX(-1.0f), axisY - 10));
}

TEST(BeamLengthScale, RoundStepsInTheChosenUnitTheLastWithItsName) {
    const BeamDesign d = Beam(100, 200, 0.1);
    Picture p;
    ASSERT_EQ(p.Draw(d), RedrawOutcome::Drawn);
    // 1200 pixels for a few hundred mm: a tick every 50 mm at least 60 pixels apart.
    EXPECT_NE(p.surface.FindText("100"), nullptr);
    EXPECT_NE(p.surface.FindText("150"), nullptr);
    std::vector<std::string> named;
    for (const SurfaceCall& c : p.surface.Texts()) {
        if (c.text.ends_with(" mm") && c.text.find('=') == std::string::npos)
            named.push_back(c.text);
    }
    ASSERT_EQ(named.size(), 1u);
    EXPECT_EQ(named[0], "400 mm");
    ASSERT_EQ(p.Draw(d, {.lengthUnit = 3}), RedrawOutcome::Drawn);  // metres
    EXPECT_NE(p.surface.FindText("0.1"), nullptr);
    EXPECT_NE(p.surface.FindText("0.4 m"), nullptr);
}

TEST(BeamInsets, NeverWithoutTheirValues) {
    // Side by side in a small window: an inset that cannot show its values is left out.
    for (const ScaleRect area : {ScaleRect{0, 0, 520, 380}, ScaleRect{0, 0, 900, 600}, kWide}) {
        Picture p(area);
        ASSERT_EQ(p.Draw(Diode()), RedrawOutcome::Drawn);
        const auto boxes = p.surface.Of(SurfaceCall::Kind::Box);
        const auto texts = p.surface.Texts();
        for (const SurfaceCall& box : boxes) {
            const bool values = std::any_of(texts.begin(), texts.end(), [&](const SurfaceCall& t) {
                return t.text.starts_with("2r") && t.x1 > box.x1 && t.x1 < box.x2 &&
                       t.y1 > box.y1 && t.y1 < box.y2;
            });
            EXPECT_TRUE(values) << area.width << "x" << area.height << " " << box;
        }
    }
}

// --- Drags and faults --------------------------------------------------------------------------

TEST(BeamRedraw, DragKeepsScalesAndTouchPoints) {
    Picture p;
    ASSERT_EQ(p.Draw(Beam(100, 200, 0.1)), RedrawOutcome::Drawn);
    const BeamDrawingMemory before = p.memory;
    EXPECT_FLOAT_EQ(before.touch.principalX, before.touch.scale.WorldToScreenX(200.0f));
    const BeamDesign moved = Beam(100, 260, 0.12);
    ASSERT_EQ(p.Draw(moved, {.dragging = true}), RedrawOutcome::Drawn);
    EXPECT_EQ(p.Main(), before.axes[0].main.scale);
    EXPECT_EQ(p.memory.touch.principalX, before.touch.principalX);
    // The clip spans the area's columns, so a feature pulled beyond the range stays visible.
    EXPECT_FLOAT_EQ(float(p.memory.axes[0].main.clip.xMin), p.Main().ScreenToWorldX(0.0f));
    ASSERT_EQ(p.Draw(moved), RedrawOutcome::Drawn);
    EXPECT_NE(p.Main(), before.axes[0].main.scale);
}

// A reference beam lies behind the picture in grey, on the picture's scale (its element where
// its own object distance puts it); the picture comes out call for call as without it.
TEST(BeamRedraw, ReferenceBehindInGreyAtThePicturesScale) {
    const auto calls = [](const Picture& p, bool grey) {
        std::vector<std::string> out;
        for (const SurfaceCall& c : p.surface.Calls()) {
            if ((c.kind == SurfaceCall::Kind::Line && c.pen.colour == kReferenceGrey) != grey) {
                continue;
            }
            std::ostringstream os;
            os << c;
            out.push_back(os.str());
        }
        return out;
    };
    const BeamDesign design = Beam(100, 200, 0.1);
    Picture alone;
    ASSERT_EQ(alone.Draw(design), RedrawOutcome::Drawn);
    const BeamDesign reference = Beam(60, 150, 0.1);
    Picture p;
    ASSERT_EQ(p.Draw(design, {.reference = &reference}), RedrawOutcome::Drawn);
    EXPECT_EQ(p.Main(), alone.Main());
    EXPECT_EQ(calls(p, false), calls(alone, false));
    EXPECT_GT(calls(p, true).size(), 3u);
    const double element = p.Main().WorldToScreenX(150.0f);
    const std::vector<SurfaceCall> lines = p.surface.Lines();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const SurfaceCall& c) {
        return c.pen.colour == kReferenceGrey && c.x1 == c.x2 && std::fabs(c.x1 - element) <= 1.0;
    }));
}

TEST(BeamRedraw, UnsolvedAndDegenerateDesigns) {
    Picture p;
    BeamDesign paraxial = Beam(100, 200, 0.1);
    paraxial.beamMode = false;
    BeamDesign failed = Beam(100, 200, 0.1);
    failed.axes[0].resultInvalid = true;
    for (const BeamDesign& d : {BeamDesign{}, paraxial, failed}) {
        EXPECT_EQ(p.Draw(d), RedrawOutcome::NotSolved);
        EXPECT_EQ(p.surface.Calls().size(), 1u);  // the clear
        EXPECT_FALSE(p.memory.touch.registered);
    }

    // Huge, tiny and poisoned tables draw, or stop, with finite coordinates only.
    std::vector<BeamDesign> odd;
    for (const double k : {1e15, 1e-9}) {
        BeamDesign d = Beam(100, 200, 0.1);
        for (double& v : d.axes[0].table) v *= k;
        for (double& v : d.axes[0].extras) v *= k;
        odd.push_back(d);
    }
    BeamDesign poisoned = Beam(100, 200, 0.1);
    poisoned.axes[0].table[kGbImgRadius] = kNaN;
    poisoned.axes[0].extras[kExImageWaist] = kNaN;
    odd.push_back(poisoned);
    BeamDesign flat = Beam(100, 200, 0.1);
    for (int i : {kGbObjRadius, kGbImgRadius}) flat.axes[0].table[i] = 0.0;
    flat.axes[0].extras[kExRadiusAtElement] = 0.0;
    odd.push_back(flat);
    for (const BeamDesign& d : odd) {
        const RedrawOutcome out = p.Draw(d);
        EXPECT_NE(out, RedrawOutcome::NotSolved);
        for (const SurfaceCall& c : p.surface.Calls()) {
            EXPECT_TRUE(std::isfinite(c.x1 + c.y1 + c.x2 + c.y2)) << c;
        }
    }
    EXPECT_EQ(p.outcome, RedrawOutcome::Stopped);  // nothing has a radius: no scale
}

}  // namespace
}  // namespace rs::drawing
