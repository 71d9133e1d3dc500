#include "analysis/lens_choice.h"

#include <algorithm>
#include <cmath>

#include "text/tr.h"
#include "text/vb_format.h"

namespace rs::analysis {
using text::Tr;
using text::TrFormat;
namespace {

constexpr std::string_view kLengthFormat = "0.0#";
constexpr std::string_view kDeviationFormat = "+0.0;-0.0;0.0";

// A value of one axis, or "-" when that axis has no lens on this line.
std::string AxisCell(const std::vector<LensChoiceRow>& rows, std::size_t k,
                     std::string (*cell)(const LensChoiceRow&)) {
    return k < rows.size() ? cell(rows[k]) : std::string("-");
}

std::string CodeCell(const LensChoiceRow& row) {
    return row.code + (row.lens->available ? "" : kUnavailableMark);
}

bool AllWithin(const std::vector<LensChoiceRow>& rows) {
    return std::ranges::all_of(rows, &LensChoiceRow::withinTolerance);
}

// What the grid says when its lines are not what the rule asked for: nothing fits the beam, or
// only lenses outside the tolerance are offered.
std::string ElementNote(const std::vector<LensChoiceRow>& rows, const ElementNeed& need) {
    const std::string f = text::Format(need.focalLength, kLengthFormat) + " mm";
    if (rows.empty()) {
        return TrFormat(
            "Keine Linse des Katalogs hat den freien Durchmesser, den der Strahl braucht (%1 mm).",
            {text::Format(2.0 * kClearRadiusFactor * std::fabs(need.beamRadius), kLengthFormat)});
    }
    if (AllWithin(rows)) return {};
    return TrFormat(
        "Keine Linse des Katalogs liegt innerhalb ±10 % der berechneten Brennweite %1. Die "
        "nächsten mit ihrer Abweichung:",
        {f});
}

}  // namespace

std::vector<LensChoiceRow> ChooseLenses(const LensCatalogue& catalogue, const ElementNeed& need,
                                        bool cylinders) {
    std::vector<LensChoiceRow> rows;
    const double f = need.focalLength;
    if (f == 0.0 || !std::isfinite(f) || !std::isfinite(need.beamRadius)) return rows;
    // A hair of slack so that a lens exactly 10 % away, or exactly wide enough, is not lost to
    // the rounding of its single-precision radii.
    const double window = kFocalTolerance * std::fabs(f) * (1.0 + 1e-9);
    const double neededDiameter =
        2.0 * kClearRadiusFactor * std::fabs(need.beamRadius) * (1.0 - 1e-9);

    for (const CatalogueLens& lens : catalogue.Lenses()) {
        if ((lens.kind == CatalogueKind::kCylinder) != cylinders) continue;
        if (lens.Diameter() < neededDiameter) continue;
        LensChoiceRow& row = rows.emplace_back();
        row.lens = &lens;
        row.focalLength = lens.focalLength;
        row.diameter = lens.Diameter();
        row.deviation = (lens.focalLength - f) / f * 100.0;
        row.withinTolerance = std::fabs(lens.focalLength - f) <= window;
    }
    const auto nearer = [](const LensChoiceRow& a, const LensChoiceRow& b) {
        const double da = std::fabs(a.deviation), db = std::fabs(b.deviation);
        if (da != db) return da < db;
        return a.diameter < b.diameter;
    };
    if (std::ranges::any_of(rows, &LensChoiceRow::withinTolerance)) {
        std::erase_if(rows, [](const LensChoiceRow& row) { return !row.withinTolerance; });
    } else {
        std::ranges::stable_sort(rows, nearer);
        if (rows.size() > kNearestCount) rows.resize(kNearestCount);
    }
    std::ranges::stable_sort(rows, [&](const LensChoiceRow& a, const LensChoiceRow& b) {
        if (a.lens->available != b.lens->available) return a.lens->available;
        return nearer(a, b);
    });
    // The texts only for the lenses that made it.
    for (LensChoiceRow& row : rows) {
        row.code = std::string(row.lens->Code());
        row.kind = KindText(row.lens->kind);
        row.glass = row.lens->GlassText();
        row.text = DisplayText(*row.lens, false);
    }
    return rows;
}

std::vector<std::string> LensGridHeader(bool circularised) {
    if (circularised) {
        return {Tr("Zylinder 1"), Tr(" Zylinder 2 "), "  EFL's ", "Ø", Tr("Glas"), Tr("Abw. [%]")};
    }
    return {Tr("Komponente"), " EFL ",        "  T  ",           "Ø",
            Tr("Glas"),       Tr("Abw. [%]"), Tr("Beschreibung")};
}

LensGrid BuildLensGrid(const LensCatalogue& catalogue, const ElementNeed& element) {
    LensGrid grid;
    grid.header = LensGridHeader(false);
    const std::vector<LensChoiceRow> rows = ChooseLenses(catalogue, element, false);
    grid.note = ElementNote(rows, element);
    for (const LensChoiceRow& row : rows) {
        grid.cells.push_back({CodeCell(row), text::Format(row.focalLength, kLengthFormat),
                              Tr(row.kind), text::Format(row.diameter, kLengthFormat), row.glass,
                              text::Format(row.deviation, kDeviationFormat), row.text});
        grid.descriptions.push_back(DisplayText(*row.lens, true));
        grid.lenses.push_back(row.lens);
    }
    return grid;
}

LensGrid BuildLensGrid(const LensCatalogue& catalogue, const std::array<ElementNeed, 2>& axes) {
    LensGrid grid;
    grid.header = LensGridHeader(true);
    const std::array<std::vector<LensChoiceRow>, 2> rows = {ChooseLenses(catalogue, axes[0], true),
                                                            ChooseLenses(catalogue, axes[1], true)};
    const std::size_t lines = std::max(rows[0].size(), rows[1].size());
    for (std::size_t axis = 0; axis < 2; ++axis) {
        const std::string note = ElementNote(rows[axis], axes[axis]);
        if (!note.empty())
            grid.note += (grid.note.empty() ? "" : "\n") +
                         TrFormat("Achse %1: %2", {std::to_string(axis + 1), note});
    }
    auto both = [&](std::size_t k, std::string (*cell)(const LensChoiceRow&)) {
        return AxisCell(rows[0], k, cell) + " / " + AxisCell(rows[1], k, cell);
    };
    for (std::size_t k = 0; k < lines; ++k) {
        auto code = [&](std::size_t axis) {
            return k < rows[axis].size() ? CodeCell(rows[axis][k]) : std::string();
        };
        grid.cells.push_back(
            {code(0), code(1),
             both(
                 k,
                 [](const LensChoiceRow& r) { return text::Format(r.focalLength, kLengthFormat); }),
             both(k,
                  [](const LensChoiceRow& r) { return text::Format(r.diameter, kLengthFormat); }),
             both(k, [](const LensChoiceRow& r) { return r.glass; }),
             both(k, [](const LensChoiceRow& r) {
                 return text::Format(r.deviation, kDeviationFormat);
             })});
        auto line = [&](std::size_t axis) {
            return k < rows[axis].size() ? DisplayText(*rows[axis][k].lens, true) : std::string();
        };
        grid.descriptions.push_back(line(0) + "\n" + line(1));
        grid.lenses.push_back(k < rows[0].size() ? rows[0][k].lens : nullptr);
    }
    return grid;
}

std::string_view LensGridDescription(const LensGrid& grid, int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= grid.descriptions.size()) return {};
    return grid.descriptions[static_cast<std::size_t>(row)];
}

std::string LensChoiceToolTip(bool circularised) {
    if (circularised) {
        return Tr(
            "Zylinderlinsen aus dem Katalog, je Achse eine: Brennweite innerhalb ±10 % der "
            "berechneten Brennweite dieser Achse (die nächste zuerst), freie Höhe mindestens "
            "das Dreifache des Strahlradius (1/e²) an der Linse, damit der Strahl praktisch "
            "unbeschnitten durchgeht.");
    }
    return Tr(
        "Linsen aus dem Katalog mit einer Brennweite innerhalb ±10 % der berechneten "
        "Brennweite (die nächste zuerst) und einem freien Durchmesser von mindestens dem "
        "Dreifachen des Strahlradius (1/e²) an der Linse, damit der Gaußsche Strahl praktisch "
        "unbeschnitten durchgeht. Zylinderlinsen nur beim zirkularisierten Diodenstrahl.");
}

}  // namespace rs::analysis
