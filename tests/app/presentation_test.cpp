// The road from a design to what the user sees, shared by the window, the command-line program
// and the printed report.
#include "app/presentation.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "drawing/recording_surface.h"
#include "engine/var_type.h"

namespace rs::app {
namespace {

DesignState Relay(bool mirror = false) {
    DesignState state;
    state.paraxial.options.mirrorMode = mirror;
    state.paraxial.params.AddValue(engine::kFocal, mirror ? -100.0f : 100.0f);
    state.paraxial.params.AddValue(engine::kObjDist, -200.0f);
    state.paraxial.params.AddValue(engine::kObjHeight, 10.0f);
    state.paraxial.aperture.AddValue(engine::kStopRadius, 10.0f);
    SolveDesign(state, true);
    return state;
}

bool HasPiece(const engine::ReportPage& page, const std::string& text) {
    for (const engine::ReportRow& row : page.rows) {
        for (const engine::ReportPiece& piece : row.pieces) {
            if (piece.text == text) return true;
        }
    }
    return false;
}

std::vector<engine::ResultRow> Rows(const DesignState& state) {
    engine::ResultListCache cache;
    beam::BeamListCache beamCache;
    return ResultRows(state, false, cache, beamCache).rows;
}

// Redraws `state` on `surface`; true when it registered features to grab.
bool Draw(const DesignState& state, drawing::RecordingSurface& surface) {
    DrawingMemory memory;
    DrawDesign(surface, state, false, memory);
    return state.beam.beamMode ? memory.beam.touch.registered : memory.touch.registered;
}

TEST(Presentation, AnIncompleteDesignShowsNothingOfItsOldSolution) {
    DesignState state = Relay();
    state.window.drawHaltingRay = true;
    ASSERT_TRUE(DesignSolved(state));
    const auto solvedRows = Rows(state);
    drawing::RecordingSurface surface({0, 0, 600, 350});
    EXPECT_TRUE(Draw(state, surface));
    const auto lines = surface.Lines();  // with the central construction ray in green
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                            [](const auto& l) { return l.pen.colour == drawing::kGreen; }));

    // One parameter goes: the tables still hold the relay, but nothing of it may be shown.
    state.paraxial.params.Remove(engine::kObjHeight);
    SolveDesign(state, true);
    EXPECT_FALSE(DesignSolved(state));
    const auto rows = Rows(state);
    ASSERT_EQ(rows.size(), solvedRows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].name, solvedRows[i].name);
        EXPECT_EQ(rows[i].value.find("mm"), std::string::npos) << rows[i].name;
    }
    for (const std::string& value : PresentedDofPanel(state).values) {
        EXPECT_EQ(value.find_first_of("0123456789"), std::string::npos) << value;
    }
    surface.Forget();
    EXPECT_FALSE(Draw(state, surface));
    ASSERT_EQ(surface.Calls().size(), 1u);
    EXPECT_EQ(surface.Calls()[0].kind, drawing::SurfaceCall::Kind::Clear);
}

// A solve asked to record while a selection is incomplete leaves its values undefined, in both
// modes, so a parameter chosen next starts empty.
TEST(Presentation, RecordingAnIncompleteSelectionForgetsTheOldSolution) {
    DesignState state = Relay();
    const engine::DataContinuity& store = state.paraxial.continuity;
    state.paraxial.params.Remove(engine::kObjHeight);
    SolveDesign(state, true);
    EXPECT_FALSE(store.General(engine::kImgDist).defined);

    state.beam.beamMode = true;
    for (auto [index, value] : {std::pair{0, 100.0f}, {1, 500.0f}, {5, 0.5f}}) {
        state.beam.axes[0].selection.AddValue(index, value);
    }
    SolveDesign(state, true);
    ASSERT_TRUE(store.Beam(0, beam::kGbImgDist).defined);
    state.beam.axes[0].selection.Remove(beam::kGbObjDist);
    SolveDesign(state, true);
    EXPECT_FALSE(store.Beam(0, beam::kGbImgDist).defined);
}

TEST(Presentation, TheReportCarriesTheDepthOfFieldPanel) {
    const DesignState state = Relay();
    const engine::ReportResult report = BuildReport(state, "Sonntag, 6. Dezember 2026");
    ASSERT_FALSE(report.refusal);
    EXPECT_TRUE(HasPiece(report.page, "Systemdefinition: Linse"));
    EXPECT_TRUE(HasPiece(report.page, "Sonntag, 6. Dezember 2026"));
    const analysis::DofPanel panel = PresentedDofPanel(state);
    for (std::size_t i = 0; i < panel.names.size(); ++i) {
        EXPECT_TRUE(HasPiece(report.page, panel.names[i])) << panel.names[i];
        EXPECT_TRUE(HasPiece(report.page, " " + panel.values[i])) << panel.values[i];
    }
    EXPECT_TRUE(HasPiece(BuildReport(Relay(true), "x").page, "Systemdefinition: Spiegel"));

    DesignState incomplete = state;
    incomplete.paraxial.params.Remove(engine::kFocal);
    EXPECT_TRUE(BuildReport(incomplete, "x").refusal.has_value());
}

// A beam is solved only when complete; the picture shows it with its x range, an incomplete
// selection shows nothing of the older solution.
TEST(Presentation, TheBeamMode) {
    DesignState state;
    state.beam.beamMode = true;
    auto& axis0 = state.beam.axes[0].selection;
    axis0.AddValue(0, 100.0f);  // f'
    axis0.AddValue(1, 500.0f);  // object waist distance
    axis0.AddValue(5, 0.5f);    // object waist radius
    SolveDesign(state, false);
    EXPECT_TRUE(DesignSolved(state) && !Rows(state).empty());
    drawing::RecordingSurface surface;
    EXPECT_TRUE(Draw(state, surface));
    const auto range = BeamDrawingRangeOf(state);
    ASSERT_TRUE(range);
    EXPECT_LT(range->min, 0.0);
    EXPECT_GT(range->max, state.beam.axes[0].extras[beam::kExImageWaist]);

    axis0.Remove(5);
    SolveDesign(state, false);
    EXPECT_FALSE(DesignSolved(state));
    surface.Forget();
    EXPECT_FALSE(Draw(state, surface));
    EXPECT_EQ(surface.Calls().size(), 1u);
    EXPECT_FALSE(BeamDrawingRangeOf(state));
}

}  // namespace
}  // namespace rs::app
