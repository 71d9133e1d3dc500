#pragma once
// The "Messung" tab of the beam extras without a toolkit: the table of measured diameters as
// texts in the units its columns show, the fit of the caustic with its warnings, the plot's data,
// and the handlers of the table, its units and the element's position. Taking the fitted beam as
// the object beam, pasting and importing are MainWindow's (main_window_measurement.cpp), since
// they take an undo step or tell the user why something was refused.
#include <string>
#include <string_view>
#include <vector>

#include "app/design_state.h"
#include "beam/caustic_fit.h"
#include "drawing/caustic_plot.h"
#include "text/tr.h"
#include "ui/main_window.h"
#include "ui/view_model.h"
#include "units/units.h"

namespace rs::ui {

// Diameter columns the table shows: both axes in the diode mode or when the table holds two,
// else one. The first column is always z.
int MeasurementAxes(const app::DesignState& d);

// The design's units with the columns' own: z as the object distance, diameters as the waist
// radius of the beam group, so typed cells read like every other box of the program.
units::UnitState MeasurementUnitsOf(const app::DesignState& d);

// The grid as texts: the header names each column's unit; one line per row, a diameter not yet
// measured left empty.
struct MeasurementGrid {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> cells;
};
MeasurementGrid MeasurementGridOf(const app::DesignState& d);

// The fit over the rows that hold every shown diameter, at the design's wavelength.
beam::MeasurementFit MeasurementFitOf(const app::DesignState& d);

// What the plot draws: every measured diameter per shown axis and the axis' fit.
drawing::CausticPlotData CausticPlotOf(const app::DesignState& d);

// Appends the tab's controls to `view` (BuildView calls it): lblGBMeasureUnit_0..1,
// cmbGBMeasureUnit_0..1, comGBMeasurePaste, comGBMeasureImport, comGBMeasureRemove,
// lblGBMeasureElement, txtGBMeasureElement, comGBMeasureAdopt, lblGBMeasureFit,
// lblGBMeasureNotes; grdGBMeasure and picGBMeasure are listed so that they hear of every change.
void AddMeasurementControls(const WindowState& state, WindowView& view);

std::string ElementPositionText(const WindowState& state);

// The file choice of comGBMeasureImport.
inline constexpr const char* kMeasurementImportTitle = text::TrNoop("Messwerte importieren");
inline constexpr const char* kMeasurementImportFilter =
    text::TrNoop("Messwerte (*.csv *.txt *.tsv);;Alle Dateien (*)");

// grdGBMeasure: a cell typed; `row` equal to the number of rows starts a new row. An empty
// diameter cell marks that diameter as not measured; text that is no number, a diameter not
// greater than 0 or an empty z changes nothing.
void ApplyMeasurementCell(MainWindow& window, int row, int column, std::string_view text);
// comGBMeasureRemove: the rows given (others ignored).
void RemoveMeasurementRows(MainWindow& window, const std::vector<int>& rows);
// cmbGBMeasureUnit_0 (z) and _1 (diameters): the entry of the units the column may use.
void ChooseMeasurementUnit(MainWindow& window, int column, int entry);
void ApplyElementPositionText(MainWindow& window, std::string_view text);  // txtGBMeasureElement

}  // namespace rs::ui
