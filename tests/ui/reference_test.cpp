// The reference design in the window: pinned and cleared without a step of the design, kept in
// the settings file, and shown as the result list's second value column with the differing rows
// marked.
#include "ui/reference.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/settings.h"
#include "ui/study.h"
#include "ui/window_fixture.h"

namespace rs::ui {
namespace {

using namespace engine;  // parameter indices
using test::WindowFixture;

TEST(Reference, RowsPairByNameAndCompareTheShownValues) {
    struct Case {
        std::string name;
        std::string value;
        std::optional<std::string> reference;
        bool differs;
        std::optional<double> difference;
    };
    const std::vector<Case> cases = {
        {"f", " 100.0mm", " 100.0mm", false, 0.0},
        {"a", "-200.0mm", "-150.5mm", true, 49.5},
        {"same number, other unit", " 1.0m", " 1000.0mm", true, std::nullopt},
        {"text", " In Unendlich", " In Unendlich", false, std::nullopt},
        {"text", " In Unendlich", "-300.0mm", true, std::nullopt},  // the second "text" row
        {"only here", " 5.0mm", std::nullopt, true, std::nullopt},
        {"blank only here", "", std::nullopt, false, std::nullopt},
    };
    ResultList current;
    ResultList reference;
    for (const Case& c : cases) {
        current.rows.push_back({c.name, c.value, c.name});
        if (c.reference) reference.rows.push_back({c.name, *c.reference, c.name});
    }
    // A row the reference alone lists is left out: the list follows the current design.
    reference.rows.push_back({"reference only", " 1.0mm", "reference only"});
    const std::vector<ComparedRow> rows = CompareRows(current, reference);
    ASSERT_EQ(rows.size(), cases.size());
    for (std::size_t k = 0; k < cases.size(); ++k) {
        SCOPED_TRACE(cases[k].name + cases[k].value);
        EXPECT_EQ(rows[k].reference, cases[k].reference);
        EXPECT_EQ(rows[k].differs, cases[k].differs);
        ASSERT_EQ(rows[k].difference.has_value(), cases[k].difference.has_value());
        if (cases[k].difference) {
            EXPECT_NEAR(*rows[k].difference, *cases[k].difference, 1e-9);
        }
    }
    EXPECT_EQ(rows[1].unit, "mm");
}

TEST(Reference, PinnedDesignIsTheResultListsSecondColumn) {
    WindowFixture f;
    f.Lens();
    EXPECT_FALSE(f.View("lstResRef").visible);
    EXPECT_FALSE(f.View("comClearReference").enabled);
    const int steps = f.s().history.Rows();
    const std::vector<std::string> pinned = f.View("lstResVals").items;

    f.w().PinReference();
    EXPECT_EQ(f.s().history.Rows(), steps);  // no step of the design
    EXPECT_TRUE(f.View("lstResRef").visible);
    EXPECT_TRUE(f.View("lblResRef").visible);
    EXPECT_EQ(f.View("lstResRef").items, pinned);
    EXPECT_EQ(f.View("lstResVals").itemBold, std::vector<bool>(pinned.size(), false));

    // A changed design keeps the reference's values; exactly the rows whose shown values
    // changed are bold, in every column.
    f.Type(kFocal, "105");
    const ControlView names = f.View("lstResNames");
    const ControlView values = f.View("lstResVals");
    const ControlView ref = f.View("lstResRef");
    EXPECT_EQ(ref.items, pinned);
    int bold = 0;
    for (std::size_t k = 0; k < values.items.size(); ++k) {
        SCOPED_TRACE(names.items[k]);
        EXPECT_EQ(ref.itemBold[k], values.items[k] != pinned[k]);
        EXPECT_EQ(names.itemBold[k], ref.itemBold[k]);
        EXPECT_EQ(values.itemBold[k], ref.itemBold[k]);
        bold += ref.itemBold[k] ? 1 : 0;
        if (names.items[k].starts_with("Objektweite")) {
            EXPECT_FALSE(ref.itemBold[k]);
        }
    }
    EXPECT_GT(bold, 0);

    // The other mode has no rows to compare: an empty column that says why.
    f.w().SetBeamMode(true);
    const ControlView other = f.View("lstResRef");
    EXPECT_TRUE(other.visible);
    for (const std::string& item : other.items) EXPECT_EQ(item, "");
    EXPECT_EQ(other.toolTip, OtherModeNote(*f.s().reference));
    f.w().SetBeamMode(false);
    EXPECT_EQ(f.View("lstResRef").items, pinned);
}

// The study runs the reference over the design's parameter and range: its curve follows the
// design's, marked as the reference's, on the reference's own optics.
TEST(Reference, StudySweepsTheReferenceToo) {
    WindowFixture f;
    f.Lens();
    f.w().PinReference();
    f.Type(kFocal, "105");
    app::StudyChoice range;
    range.parameter = "a";
    range.rangeSet = true;
    range.from = -1000;
    range.to = -150;
    f.w().ChooseStudy(range);
    ASSERT_TRUE(f.s().referenceShown);
    const drawing::StudyPlotData data = ComputeStudy(f.s().design, 86, &*f.s().referenceShown);
    ASSERT_EQ(data.series.size(), 2u);
    EXPECT_FALSE(data.series[0].reference);
    ASSERT_TRUE(data.series[1].reference);
    const auto& design = data.series[0].points;
    const auto& reference = data.series[1].points;
    ASSERT_EQ(reference.size(), design.size());
    for (std::size_t k = 0; k < reference.size(); ++k) {
        EXPECT_EQ(reference[k].x, design[k].x);
        EXPECT_NEAR(1 / design[k].y - 1 / design[k].x, 1 / 105.0, 1e-8) << k;
        EXPECT_NEAR(1 / reference[k].y - 1 / reference[k].x, 0.01, 1e-8) << k;
    }
}

TEST(Reference, KeptInTheSettingsFileUntilCleared) {
    WindowFixture f;
    f.Lens();
    f.w().PinReference();
    {
        // The next start finds it, although the design itself was never saved.
        MainWindow next(f.dialogs, *f.ini);
        next.Startup();
        ASSERT_TRUE(next.State().reference);
        EXPECT_EQ(next.State().reference->paraxial.params, f.p().params);
        EXPECT_TRUE(next.State().design.paraxial.params.Count() == 0);
    }
    f.w().ClearReference();
    EXPECT_FALSE(f.View("lstResRef").visible);
    EXPECT_FALSE(app::LoadReference(app::IniFile(f.path)));
}

}  // namespace
}  // namespace rs::ui
