// The road from a design to what the user sees, shared by the window, the command-line program
// and the printed report.
#include "app/presentation.h"

#include <gtest/gtest.h>

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

TEST(Presentation, AnIncompleteDesignShowsNothingOfItsOldSolution) {
    DesignState state = Relay();
    ASSERT_TRUE(DesignSolved(state));
    const auto solvedRows = Rows(state);
    // One parameter goes: the tables still hold the relay, but nothing of it may be shown.
    state.paraxial.params.Remove(engine::kObjHeight);
    SolveDesign(state, true);
    EXPECT_FALSE(DesignSolved(state));
    const auto rows = Rows(state);
    ASSERT_EQ(rows.size(), solvedRows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(rows[i].name);
        EXPECT_EQ(rows[i].name, solvedRows[i].name);
        EXPECT_EQ(rows[i].value.find("mm"), std::string::npos);
    }
    for (const std::string& value : PresentedDofPanel(state).values) {
        EXPECT_EQ(value.find_first_of("0123456789"), std::string::npos) << value;
    }
    drawing::RecordingSurface surface({0, 0, 600, 350});
    drawing::DrawingExtents extents;
    drawing::ParaxialTouchPoints touch;
    DrawDesign(surface, state, false, extents, touch);
    ASSERT_EQ(surface.Calls().size(), 1u);
    EXPECT_EQ(surface.Calls()[0].kind, drawing::SurfaceCall::Kind::Clear);
    EXPECT_FALSE(touch.registered);

    // The continuity store keeps the last complete solution for the next parameter chosen.
    const engine::StoredValue imageDistance = state.paraxial.continuity.General(engine::kImgDist);
    EXPECT_TRUE(imageDistance.defined);
    EXPECT_FLOAT_EQ(imageDistance.value, 200.0f);
}

TEST(Presentation, TheReportCarriesTheDepthOfFieldPanel) {
    const DesignState state = Relay();
    const engine::ReportResult report = BuildReport(state, "Sonntag, 6. Dezember 2026");
    ASSERT_FALSE(report.refusal);
    EXPECT_TRUE(HasPiece(report.page, "Systemdefinition: Linse"));
    EXPECT_TRUE(HasPiece(report.page, "Sonntag, 6. Dezember 2026"));
    const analysis::DofPanel panel = PresentedDofPanel(state);
    for (std::size_t i = 0; i < panel.names.size(); ++i) {
        SCOPED_TRACE(panel.names[i]);
        EXPECT_TRUE(HasPiece(report.page, panel.names[i]));
        EXPECT_TRUE(HasPiece(report.page, " " + panel.values[i]));
    }
    EXPECT_TRUE(HasPiece(BuildReport(Relay(true), "x").page, "Systemdefinition: Spiegel"));

    DesignState incomplete = state;
    incomplete.paraxial.params.Remove(engine::kFocal);
    EXPECT_TRUE(BuildReport(incomplete, "x").refusal.has_value());
}

TEST(Presentation, ThePictureFollowsTheModeAndTheOptions) {
    DesignState state = Relay();
    state.window.drawHaltingRay = true;
    drawing::RecordingSurface surface({0, 0, 600, 350});
    drawing::DrawingExtents extents;
    drawing::ParaxialTouchPoints touch;
    ASSERT_TRUE(HasDrawing(state));
    DrawDesign(surface, state, false, extents, touch);
    bool green = false;  // the central construction ray
    for (const auto& line : surface.Lines()) green = green || line.pen.colour == drawing::kGreen;
    EXPECT_TRUE(green);
    EXPECT_TRUE(touch.registered);

    // The beam mode has no picture yet: nothing is drawn, nothing can be grabbed.
    state.beam.beamMode = true;
    EXPECT_FALSE(HasDrawing(state));
    surface.Forget();
    drawing::ParaxialTouchPoints none;
    DrawDesign(surface, state, false, extents, none);
    EXPECT_TRUE(surface.Calls().empty());
    EXPECT_FALSE(none.registered);
}

TEST(Presentation, ABeamIsSolvedOnlyWhenComplete) {
    DesignState state;
    state.beam.beamMode = true;
    auto& axis0 = state.beam.axes[0].selection;
    axis0.AddValue(0, 100.0f);  // f'
    axis0.AddValue(1, 500.0f);  // object waist distance
    axis0.AddValue(5, 0.5f);    // object waist radius
    SolveDesign(state, false);
    EXPECT_TRUE(DesignSolved(state));
    EXPECT_FALSE(Rows(state).empty());
    // A beam with a parameter too few is not solved, whatever its tables still hold.
    axis0.Remove(5);
    SolveDesign(state, false);
    EXPECT_FALSE(DesignSolved(state));
}

}  // namespace
}  // namespace rs::app
