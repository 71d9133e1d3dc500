#include "ui/measurement_panel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "text/number_text.h"
#include "ui/extras_panel.h"
#include "ui/window_fixture.h"

namespace rs::ui {
namespace {

using beam::kGbFocal;

// Fifteen points of a beam with its waist d0 = 0.2 mm at z0 = 100 mm and M² = 1.3 at 632.8 nm
// (zR ≈ 38 mm): seven within a Rayleigh length, seven beyond two, as a careful measurement has
// them; `columns` diameters per line, the second axis' waist 10 % wider.
std::string Caustic(int columns, char separator = '\t') {
    const double d0 = 0.2, theta = 1.3 * 4 * 632.8e-6 / (3.141592654 * d0);
    std::string text = "z\td\n";
    for (double z : {0, 10, 20, 70, 80, 90, 100, 110, 120, 130, 140, 180, 190, 200, 210}) {
        text += text::ShortestText(z);
        for (int axis = 0; axis < columns; ++axis) {
            const double w = d0 * (1 + 0.1 * axis);
            text += separator + text::ShortestText(std::hypot(w, theta * (z - 100)));
        }
        text += '\n';
    }
    return text;
}

std::string Cell(const test::WindowFixture& f, std::size_t row, std::size_t column) {
    return MeasurementGridOf(f.s().design).cells.at(row).at(column);
}

// Typed cells are read in the column's unit (or a unit typed behind them), shown in it, and the
// header says which; a new row starts in the empty last line; an emptied diameter is not
// measured and keeps its row out of the fit; diode mode shows a column per axis.
TEST(MeasurementPanel, CellsUnitsAndColumns) {
    test::WindowFixture f;
    MainWindow& w = f.w();
    ChooseMeasurementUnit(w, 1, 0);  // µm
    ApplyMeasurementCell(w, 0, 0, "12,5");
    ApplyMeasurementCell(w, 0, 1, "250");
    ApplyMeasurementCell(w, 1, 1, "0.3mm");
    ApplyMeasurementCell(w, 1, 0, "2cm");
    ApplyMeasurementCell(w, 2, 1, "abc");  // no number: no row
    ApplyMeasurementCell(w, 1, 1, "-3");   // refused: the diameter stays
    const app::MeasurementState& m = f.s().design.measurement;
    ASSERT_EQ(m.table.rows.size(), 2U);
    EXPECT_DOUBLE_EQ(m.table.rows[0].z, 12.5);
    EXPECT_DOUBLE_EQ(m.table.rows[0].d[0], 0.25);
    EXPECT_DOUBLE_EQ(m.table.rows[1].z, 20);
    EXPECT_DOUBLE_EQ(m.table.rows[1].d[0], 0.3);
    EXPECT_EQ(MeasurementGridOf(f.s().design).header,
              (std::vector<std::string>{"z [mm]", "d [µm]"}));
    EXPECT_EQ(Cell(f, 1, 1), "300.0");
    ChooseMeasurementUnit(w, 0, 3);  // m
    EXPECT_EQ(Cell(f, 0, 0), "0.0125");
    EXPECT_FALSE(f.s().backup.Exists());

    w.SetBeamMode(true);
    SetDiodeMode(w, true);
    EXPECT_EQ(MeasurementGridOf(f.s().design).header,
              (std::vector<std::string>{"z [m]", "d 1. Achse [µm]", "d 2. Achse [µm]"}));
    ApplyMeasurementCell(w, 0, 2, "270");
    EXPECT_EQ(Cell(f, 0, 2), "270.0");
    EXPECT_EQ(Cell(f, 1, 2), "");
    EXPECT_EQ(m.table.axisCount, 2);
    ApplyMeasurementCell(w, 0, 2, "");
    EXPECT_EQ(m.table.rows[0].d[1], 0.0);
    RemoveMeasurementRows(w, {1, 7, 1});
    EXPECT_EQ(m.table.rows.size(), 1U);
}

// The fit's values in the units of the columns and of the beam group, no warning for a careful
// measurement; a poor one warns; too few positions give the fit's German refusal; M² below 1
// comes with its note. Übernehmen is enabled only with a fit for every axis it needs.
TEST(MeasurementPanel, FitTextsAndWarnings) {
    test::WindowFixture f;
    MainWindow& w = f.w();
    w.SetBeamMode(true);
    EXPECT_FALSE(f.View("comGBMeasureAdopt").enabled);
    w.TakeMeasurementText(Caustic(1), false);
    const std::string values = f.View("lblGBMeasureFit").text;
    EXPECT_NE(values.find("Taillenposition z0: 100.0mm"), std::string::npos) << values;
    EXPECT_NE(values.find("Taillendurchmesser d0: 0.2mm"), std::string::npos) << values;
    EXPECT_NE(values.find("M²: 1.30"), std::string::npos) << values;
    EXPECT_EQ(f.View("lblGBMeasureNotes").text, "");
    EXPECT_EQ(f.View("lblGBMeasureNotes").highlight, 0U);
    EXPECT_TRUE(f.View("comGBMeasureAdopt").enabled);

    RemoveMeasurementRows(w, {0, 1, 2, 11, 12, 13, 14, 3, 4, 5});  // five near the waist
    const ControlView poor = f.View("lblGBMeasureNotes");
    EXPECT_NE(poor.text.find("Nur 5 Messpunkte"), std::string::npos) << poor.text;
    EXPECT_NE(poor.text.find("weiter als zwei Rayleighlängen"), std::string::npos) << poor.text;
    EXPECT_NE(poor.highlight, 0U);

    SetDiodeMode(w, true);  // the second axis has no diameters: no fit for it
    EXPECT_NE(f.View("lblGBMeasureNotes").text.find("2. Achse: "), std::string::npos);
    EXPECT_FALSE(f.View("comGBMeasureAdopt").enabled);
    SetDiodeMode(w, false);

    w.TakeMeasurementText("0;1\n0;2\n5;1\n", true);
    EXPECT_NE(f.View("lblGBMeasureNotes").text.find("mindestens drei verschiedene Positionen"),
              std::string::npos);
    // A waist far narrower than its divergence allows at this wavelength.
    w.TakeMeasurementText("-100;1\n0;0.001\n100;1\n", true);
    EXPECT_NE(f.View("lblGBMeasureNotes").text.find("M² ist kleiner als 1"), std::string::npos);
}

// Übernehmen is one undo step; undo takes back the beam, never the table. In diode mode both
// axes are taken and the core's note is shown. (That the adopted beam solves as typing it
// would is the adoption's own test in tests/beam.)
TEST(MeasurementPanel, AdoptionIsOneUndoStep) {
    test::WindowFixture adopted;
    MainWindow& w = adopted.w();
    w.SetBeamMode(true);
    w.SetBeamChecked(kGbFocal, true);
    w.ApplyTypedValue(0, "100");
    w.TakeMeasurementText(Caustic(1), false);
    ApplyElementPositionText(w, "0.35m");
    EXPECT_EQ(ElementPositionText(adopted.s()), "350.0mm");
    const auto before = adopted.s().design.beam.axes[0].selection;
    w.AdoptMeasuredBeam();
    const beam::BeamDesign& b = adopted.s().design.beam;
    ASSERT_EQ(b.axes[0].selection.Count(), 3);
    ASSERT_TRUE(b.axes[0].valuesDefined);
    EXPECT_NEAR(b.axes[0].table[beam::kGbObjDist], 350 - 100, 0.01);  // the waist at z0 = 100
    EXPECT_EQ(adopted.s().backup.Kind(), kBackupMeasurement);

    const auto table = adopted.s().design.measurement;
    w.Undo();
    EXPECT_EQ(adopted.s().design.beam.axes[0].selection, before);
    EXPECT_FALSE(adopted.s().design.beam.extrasOptions.mFactorUse);
    EXPECT_EQ(adopted.s().design.measurement, table);

    SetDiodeMode(w, true);
    w.TakeMeasurementText(Caustic(2, ';'), true);
    adopted.dialogs.calls.clear();
    w.AdoptMeasuredBeam();
    EXPECT_GT(adopted.s().design.beam.diode.mFactor, adopted.s().design.beam.extrasOptions.mFactor);
    ASSERT_EQ(adopted.dialogs.Messages().size(), 0U);  // both waists at z0: nothing to note
}

// Pasted lines are appended and the refused ones listed; an import replaces the table, in
// either decimal mark; a file that cannot be read is named with the reason.
TEST(MeasurementPanel, PasteAndImport) {
    test::WindowFixture f;
    MainWindow& w = f.w();
    w.TakeMeasurementText("z;d\n1;0,5\nx;1\n2;0,6\n", false);
    w.TakeMeasurementText("3\t0.7\n", false);
    const app::MeasurementState& m = f.s().design.measurement;
    ASSERT_EQ(m.table.rows.size(), 3U);
    EXPECT_DOUBLE_EQ(m.table.rows[2].d[0], 0.7);
    ASSERT_EQ(f.dialogs.Messages().size(), 1U);
    EXPECT_NE(f.dialogs.Messages()[0].find("Zeile 3: „x“ ist keine Zahl."), std::string::npos);

    const std::filesystem::path csv = f.dir / "messung.csv";
    std::ofstream(csv, std::ios::binary) << "z,d1,d2\n10,1.5,2.5\n20,1.25,2\n";
    w.ImportMeasurementFile(csv);
    ASSERT_EQ(m.table.rows.size(), 2U);
    EXPECT_EQ(m.table.axisCount, 2);
    EXPECT_EQ(m.table.rows[1], (beam::MeasurementRow{20, {1.25, 2}}));
    w.ImportMeasurementFile(f.dir / "fehlt.csv");
    EXPECT_EQ(m.table.rows.size(), 2U);
    EXPECT_NE(f.dialogs.Messages().back().find("fehlt.csv"), std::string::npos);
}

}  // namespace
}  // namespace rs::ui
