#pragma once
// Which catalogue lenses suit a solved element: the focal length within ±10 % of the solved one
// and a clear diameter that lets the Gaussian beam pass without noticeable clipping (1.5 times
// its 1/e² radius on each side of the axis). The rows and the texts of the lens grid of the beam
// options, in both its forms: one lens for the element, or, when a diode beam is circularised,
// one cylinder lens per axis.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/catalogue_lenses.h"

namespace rs::analysis {

inline constexpr double kFocalTolerance = 0.10;    // ±10 % of the solved focal length
inline constexpr double kClearRadiusFactor = 1.5;  // clear semi-aperture per 1/e² beam radius
// How many of the nearest lenses are offered when none lies within the tolerance.
inline constexpr std::size_t kNearestCount = 5;

// What the solve asks of one element (or of the cylinder of one diode axis).
struct ElementNeed {
    double focalLength = 0.0;  // solved f' (mm)
    double beamRadius = 0.0;   // 1/e² beam radius at the element (mm)
};

struct LensChoiceRow {
    const CatalogueLens* lens = nullptr;  // points into the catalogue, which outlives the rows
    std::string code;                     // the lens's first code
    std::string_view kind;                // KindText
    double focalLength = 0.0;             // the lens's traced f' (mm)
    double diameter = 0.0;                // clear diameter (mm)
    std::string glass;                    // "N-BAF10/N-SF10"
    double deviation = 0.0;               // (f'lens − f'solved) / f'solved in percent
    std::string text;                     // DisplayText without the series
    bool withinTolerance = false;         // f' within ±10 % of the solved one
};

// The lenses for `need` that are wide enough for the beam: only cylinder lenses when `cylinders`
// is set, otherwise every other kind. Those within the focal tolerance; when none is, the
// kNearestCount nearest ones (withinTolerance false), so the user learns how far the catalogue
// is from the design. Available lenses first, each group nearest focal length first (then the
// smaller ones). Nothing for a focal length of 0 or a value that is not finite.
std::vector<LensChoiceRow> ChooseLenses(const LensCatalogue& catalogue, const ElementNeed& need,
                                        bool cylinders);

// The grid of the "Linsen" tab as texts: the header, one row of cells per line, and per line the
// text the description label shows when the line is selected.
struct LensGrid {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> cells;
    std::vector<std::string> descriptions;
    // Per line the lens "Übernehmen" takes: the element's, or axis 1's cylinder (null where that
    // axis has no more); they point into the catalogue.
    std::vector<const CatalogueLens*> lenses{};
    // What the grid says above its lines when none of them lies within the tolerance.
    std::string note{};
};

// "Komponente", " EFL ", "  T  " (the kind), then "Ø", "Glas", "Abw. [%]", "Beschreibung";
// circularised: "Zylinder 1", " Zylinder 2 ", "  EFL's ", then "Ø", "Glas", "Abw. [%]".
std::vector<std::string> LensGridHeader(bool circularised);

// An unavailable lens says so in its first cell: "PX87-25 (nicht lieferbar)".
inline constexpr const char* kUnavailableMark = " (nicht lieferbar)";

// One catalogue lens per line for the element.
LensGrid BuildLensGrid(const LensCatalogue& catalogue, const ElementNeed& element);
// A circularised diode beam: line k holds the k-th cylinder for each axis; two-part cells are
// joined by " / " with "-" where an axis has no more cylinders, and a line's description has
// one line per axis.
LensGrid BuildLensGrid(const LensCatalogue& catalogue, const std::array<ElementNeed, 2>& axes);

// The description label's text for grid line `row`; empty beyond the list.
std::string_view LensGridDescription(const LensGrid& grid, int row);

// The grid's tool tip: the choice rule.
std::string LensChoiceToolTip(bool circularised);

}  // namespace rs::analysis
