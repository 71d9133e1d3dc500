// The window's design study: the curve it plots, its gaps, its defaults, the range a logarithmic
// axis is offered for, and a click into it as one undo step.
#include "ui/study.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <variant>

#include "beam/beam_design.h"
#include "drawing/recording_surface.h"
#include "engine/catalogue.h"
#include "ui/extras_panel.h"
#include "ui/window_fixture.h"

namespace rs::ui {
namespace {

using test::WindowFixture;

app::StudyChoice Range(const std::string& parameter, double from, double to) {
    app::StudyChoice c;
    c.parameter = parameter;
    c.rangeSet = true;
    c.from = from;
    c.to = to;
    return c;
}

// f' = 100 mm run over a = -1000…-150: the default curve is the image distance, on the imaging
// equation at every point; over a = -150…-50 the point a = -f' (image at infinity) is a gap
// between the two branches, and the vertical line marks the design's a.
TEST(Study, PlotsTheImageDistanceWithAGapAtThePole) {
    WindowFixture f;
    f.Lens();
    f.w().ChooseStudy(Range("a", -1000, -150));
    const drawing::StudyPlotData data = ComputeStudy(f.s().design, 851);
    ASSERT_EQ(data.series.size(), 1u);
    EXPECT_EQ(data.xTitle, "Objektweite: a [mm]");
    EXPECT_EQ(data.yTitle, "Bildweite: a' [mm]");
    ASSERT_EQ(data.current, -200.0);
    const auto& points = data.series[0].points;
    ASSERT_EQ(points.size(), 851u);
    for (std::size_t k = 0; k < points.size(); ++k) {
        EXPECT_EQ(points[k].x, -1000.0 + static_cast<double>(k));
        EXPECT_NEAR(1 / points[k].y - 1 / points[k].x, 0.01, 1e-8) << k;
    }

    f.w().ChooseStudy(Range("a", -150, -50));
    const auto pole = ComputeStudy(f.s().design, 101).series[0].points;
    EXPECT_EQ(pole[50].x, -100.0);
    EXPECT_TRUE(std::isnan(pole[50].y));
    EXPECT_GT(pole[49].y, 1000.0);
    EXPECT_LT(pole[51].y, -1000.0);
}

// A window without stored studies plots a' against a over a's slider range, and r' against s in
// the beam mode; a second quantity goes to the right axis, and in diode mode each result gets
// its second axis' curve as well.
TEST(Study, DefaultsAndChoices) {
    WindowFixture f;
    f.Lens();
    const std::optional<Study> lens = ResolveStudy(f.s().design);
    ASSERT_TRUE(lens);
    EXPECT_EQ(lens->plan.name, "a");
    EXPECT_EQ(lens->plan.from, -220.0);
    EXPECT_EQ(lens->plan.to, -180.0);
    EXPECT_EQ(lens->quantity, "Bildweite: a'");
    EXPECT_EQ(lens->quantity2, "");

    const StudyView view = StudyViewOf(f.s().design);
    ChooseStudyQuantity(f.w(), true, view.quantity + 1);
    const drawing::StudyPlotData two = ComputeStudy(f.s().design, 5);
    ASSERT_EQ(two.series.size(), 2u);
    EXPECT_TRUE(two.series[1].rightAxis);
    EXPECT_FALSE(two.y2Title.empty());
    // A new parameter starts over its own range.
    ChooseStudyParameter(f.w(), StudyViewOf(f.s().design).parameter == 0 ? 1 : 0);
    EXPECT_NE(ResolveStudy(f.s().design)->plan.name, "a");

    f.Beam("-500", "1");  // a waist of 1 mm radius 500 mm in front of the lens
    const std::optional<Study> beam = ResolveStudy(f.s().design);
    ASSERT_TRUE(beam);
    EXPECT_EQ(beam->parameter.index, beam::kGbObjDist);
    EXPECT_EQ(beam->quantity, "Strahl rad [aus]: r'");
    SetDiodeMode(f.w(), true);
    const drawing::StudyPlotData diode = ComputeStudy(f.s().design, 5);
    ASSERT_EQ(diode.series.size(), 2u);
    EXPECT_TRUE(diode.series[1].secondAxis);
}

TEST(Study, OffersALogarithmicAxisBeyondTwoDecadesWithoutZero) {
    struct Case {
        double from, to;
        bool offered;
    };
    for (const Case c : {Case{1, 1000, true},
                         {1, 100, false},
                         {-1000, -2, true},
                         {-1, 1000, false},
                         {0, 1000, false},
                         {5000, 10, true}}) {
        EXPECT_EQ(LogarithmicOffered(c.from, c.to), c.offered) << c.from << " " << c.to;
    }
}

// A range typed into either box is kept; an end equal to the other or no number changes
// nothing; the logarithmic axis spaces the values evenly in the logarithm, and only while the
// range allows it.
TEST(Study, RangeEntriesAndTheLogarithmicAxis) {
    WindowFixture f;
    f.Lens();
    ApplyStudyRange(f.w(), false, "-2000");
    ApplyStudyRange(f.w(), true, "-2");
    ApplyStudyRange(f.w(), true, "-2000");
    ApplyStudyRange(f.w(), false, "abc");
    const auto plan = [&] { return ResolveStudy(f.s().design)->plan; };
    EXPECT_EQ(plan().from, -2000.0);
    EXPECT_EQ(plan().to, -2.0);
    SetStudyLogarithmic(f.w(), true);
    EXPECT_TRUE(plan().logarithmic);
    const auto points = ComputeStudy(f.s().design, 4).series[0].points;
    EXPECT_NEAR(points[1].x, -200.0, 1e-3);
    EXPECT_NEAR(points[2].x, -20.0, 1e-4);
    ApplyStudyRange(f.w(), true, "-200");
    EXPECT_FALSE(plan().logarithmic);
    EXPECT_FALSE(StudyViewOf(f.s().design).logOffered);
}

// A click at a point of the curve types the parameter's value there: one undo step.
TEST(Study, AClickMovesTheDesignAsOneUndoStep) {
    WindowFixture f;
    f.Lens();
    f.w().ChooseStudy(Range("a", -1000, -150));
    const drawing::StudyPlotData data = ComputeStudy(f.s().design, 851);
    const drawing::RecordingSurface surface({0, 0, 1200, 400});
    const drawing::PlotFrame frame = drawing::LayOutStudyPlot(surface, surface.Scale(), data);
    const double px = *frame.x.map.Pixel(-400.0);
    const double py = *frame.y.map.Pixel(1 / (0.01 + 1 / -400.0));
    const std::optional<StudyHover> hover = StudyHoverAt(frame, data, px, py);
    ASSERT_TRUE(hover);
    EXPECT_NEAR(hover->value, -400.0, 1.0);
    EXPECT_NE(hover->readOut.find("Objektweite: a = -"), std::string::npos) << hover->readOut;

    f.w().ApplyStudyValue(hover->value);
    EXPECT_EQ(f.Table(engine::kObjDist), static_cast<float>(hover->value));
    f.w().Undo();
    EXPECT_EQ(f.Table(engine::kObjDist), -200.0f);
}

// The drawing calls of the study plot of a design, in order, as text.
std::string Drawn(const app::DesignState& design, std::int64_t points) {
    drawing::RecordingSurface surface({0, 0, 900, 400});
    drawing::DrawStudyPicture(surface, surface.Scale(), ComputeStudy(design, points));
    std::ostringstream calls;
    for (const drawing::SurfaceCall& call : surface.Calls()) calls << call << "\n";
    return calls.str();
}

// --sweep with --plot and --y draws the picture the window's study with the same choices draws;
// without --y the mode's default result is plotted, and names that are neither a parameter nor
// a plotted result are refused by name.
TEST(Study, APlotOfASweepIsTheWindowsStudy) {
    WindowFixture f;
    f.Lens();
    const app::DesignState before = f.s().design;
    f.w().ChooseStudy(Range("a", -1000, -150));
    const std::vector<std::string> quantities = StudyViewOf(f.s().design).quantities;
    ChooseStudyQuantity(f.w(), true, 0);  // the first result on the right axis
    const std::string window = Drawn(f.s().design, 400);

    app::DesignState cli = before;
    const app::SweepPlan plan{"a", -1000, -150, 400};
    const auto choice = StudyChoiceOfPlan(cli, plan, {" Bildweite: a' ", quantities[0]});
    ASSERT_TRUE(std::holds_alternative<app::StudyChoice>(choice));
    SetStudyChoice(cli, std::get<app::StudyChoice>(choice));
    EXPECT_EQ(Drawn(cli, 400), window);
    EXPECT_NE(window.find("Bildweite: a' [mm]"), std::string::npos);

    const auto plain = StudyChoiceOfPlan(before, plan, {});
    ASSERT_TRUE(std::holds_alternative<app::StudyChoice>(plain));
    app::DesignState byDefault = before;
    SetStudyChoice(byDefault, std::get<app::StudyChoice>(plain));
    EXPECT_EQ(ResolveStudy(byDefault)->quantity, "Bildweite: a'");

    struct Bad {
        app::SweepPlan plan;
        std::vector<std::string> quantities;
        std::string named;
    };
    for (const Bad& b :
         {Bad{{"x", 0, 1, 2}, {}, "\"x\" ist kein"}, Bad{plan, {"Unsinn"}, "--y: \"Unsinn\""},
          Bad{plan, {"Bildweite: a'", "Bildweite"}, "\"Bildweite\""}}) {
        const auto refused = StudyChoiceOfPlan(before, b.plan, b.quantities);
        ASSERT_TRUE(std::holds_alternative<std::string>(refused)) << b.named;
        EXPECT_NE(std::get<std::string>(refused).find(b.named), std::string::npos)
            << std::get<std::string>(refused);
    }
}

// The study on the printed page: its choices in words below the report's rows, and its plot.
TEST(Study, ThePrintedPageNamesTheStudy) {
    WindowFixture f;
    f.Lens();
    f.w().ChooseStudy(Range("a", -1000, -150));
    engine::ReportPage page;
    const drawing::StudyPlotData data = AddStudyToReport(page, f.s().design);
    ASSERT_EQ(page.rows.size(), 2u);
    EXPECT_TRUE(page.rows[0].pieces.empty());
    EXPECT_EQ(page.rows[1].pieces.at(0).text,
              "Studie: Bildweite: a' [mm] über Objektweite: a [mm] von -1000.0 bis -150.0");
    EXPECT_EQ(data.series.at(0).points.size(), static_cast<std::size_t>(kStudyPoints));
}

// The wavelength runs in the beam mode, and in the paraxial one while the advanced options are
// on; the detector distance while the detector is shown. A click sets them as their boxes do.
TEST(Study, TheWavelengthAndTheDetectorRun) {
    WindowFixture f;
    f.Lens();
    const auto names = [&] {
        std::vector<std::string> list;
        for (const auto& p : app::SweepParameters(f.s().design)) list.push_back(p.name);
        return list;
    };
    EXPECT_EQ(names(), (std::vector<std::string>{"f'", "a", "u"}));
    f.w().SetAdvancedOptions(true);
    EXPECT_EQ(names().back(), "Wellenlänge");
    f.w().ChooseStudy({"Wellenlänge", true, 400, 800, false, {}, {}});
    const std::optional<Study> wave = ResolveStudy(f.s().design);
    ASSERT_TRUE(wave);
    EXPECT_EQ(wave->parameter.unit, "nm");
    f.w().ApplyStudyValue(633);
    EXPECT_EQ(f.p().options.advanced.wavelength, 633.0f);

    f.Beam("-500", "1");
    EXPECT_EQ(names().back(), "Wellenlänge");
    SetDetectorOn(f.w(), true);
    EXPECT_EQ(names().back(), "Detektor");
    f.w().ChooseStudy({"Detektor", true, 50, 150, false, {}, {}});
    f.w().ApplyStudyValue(120);
    EXPECT_EQ(f.s().design.beam.extrasOptions.detectorDistance, 120.0);
    f.w().Undo();
    EXPECT_NE(f.s().design.beam.extrasOptions.detectorDistance, 120.0);
}

}  // namespace
}  // namespace rs::ui
