#pragma once
// The texts of the beam mode: the result list rows, the invalid-solution label and the printed
// report's page model.
#include <functional>
#include <optional>
#include <string>

#include "beam/beam_design.h"
#include "engine/report.h"

namespace rs::beam {

// What the beam texts take from the rest of the design.
// Waist radii and divergences carry the beam quality (shown multiplied by M); distances and
// lengths do not.
bool ScalesWithM(int index);

struct BeamReportContext {
    // Display unit of beam quantity `index` (0..10, 15, 20); by default the catalogue's own.
    std::function<engine::DisplayUnit(int index)> unit;
    double objectIndex = 1.0;  // effective n
    double imageIndex = 1.0;   // effective n'
    bool mirrorMode = false;
    bool objAtInfinity = false;
    engine::DisplayUnit Unit(int index) const;
};

// Which rows the name column shows; rewritten only when the set of rows changes.
struct BeamListCache {
    bool filled = false;
    bool diode = false;
    bool media = false;
    bool mirror = false;
};

engine::ResultList FillBeamResultList(const BeamDesign& design, const BeamReportContext& context,
                                      BeamListCache& cache);

// "Zu diesem Parameter-Satz gibt es keine Lösungen." is shown when axis 0 has all its values
// and no solution.
bool ShowInvalidLabel(const BeamDesign& design);
inline constexpr const char* kInvalidLabelText = "Zu diesem Parameter-Satz gibt es keine Lösungen.";

// One value cell: a blank before non-negative numbers, the diode axis in brackets, the unit.
// Numbers outside 0.0001 < |x| <= 1e6 switch to "0.0#e+0#".
std::string BeamNumber(double value, std::string_view format);

engine::ReportResult BuildBeamReport(const BeamDesign& design, const BeamReportContext& context,
                                     const engine::ReportInput& input);

// A beam quantity's long name followed by its current symbol, as the result list names it.
std::string BeamLabel(const BeamDesign& design, int index);

}  // namespace rs::beam
