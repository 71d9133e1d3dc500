#include "ui/measurement_panel.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "beam/beam_report.h"
#include "engine/numbers.h"
#include "text/tr.h"
#include "text/vb_format.h"
#include "units/typed_number.h"

namespace rs::ui {
namespace {

using units::Group;

constexpr int kZSlot = beam::kGbObjDist;
constexpr int kDiameterSlot = beam::kGbObjRadius;
constexpr const char* kCellFormat = "0.0####";

int SlotOfColumn(int column) {
    return column == 0 ? kZSlot : kDiameterSlot;
}

ControlView& Add(WindowView& view, std::string name, std::string text = {}) {
    ControlView& c = view.controls.emplace_back();
    c.name = std::move(name);
    c.text = std::move(text);
    return c;
}

std::string InUnit(double value, const units::UnitState& u, int slot, std::string_view format) {
    return beam::BeamNumber(value / u.UnitFactor(Group::GB, slot), format) +
           std::string(u.UnitSuffix(Group::GB, slot));
}

std::string AxisName(int axis) {
    return text::TrFormat("%1. Achse", {std::to_string(axis + 1)});
}

// The fitted values and what the fit warns of, per shown axis; a refused fit says why.
struct FitTexts {
    std::string values;
    std::string notes;
    bool warned = false;
};

FitTexts FitTextsOf(const app::DesignState& d) {
    FitTexts out;
    const int axes = MeasurementAxes(d);
    if (d.measurement.table.rows.empty()) {
        out.notes = text::Tr("Noch keine Messwerte: Zeilen eintippen, einfügen oder importieren.");
        return out;
    }
    const beam::MeasurementFit fit = MeasurementFitOf(d);
    const units::UnitState u = MeasurementUnitsOf(d);
    auto line = [](std::string& to, const std::string& text) {
        to += (to.empty() ? "" : "\n") + text;
    };
    for (int axis = 0; axis < axes; ++axis) {
        const beam::AxisFitOutcome& outcome = fit.axes[static_cast<std::size_t>(axis)];
        const std::string prefix = axes > 1 ? AxisName(axis) + ": " : "";
        if (axes > 1) line(out.values, AxisName(axis));
        if (!outcome.fit) {
            line(out.values, "–");
            line(out.notes, prefix + text::Tr(outcome.error));
            out.warned = true;
            continue;
        }
        for (const beam::FitRow& row : beam::FitRows(*outcome.fit)) {
            const std::string value = row.unitIndex < 0
                                          ? beam::BeamNumber(row.value, "0.00")
                                          : InUnit(row.value, u, row.unitIndex, "0.0###");
            line(out.values, text::Tr(row.label) + value);
        }
        for (const beam::FitNote& note : outcome.fit->warnings) {
            line(out.notes, prefix + text::Tr(note.text));
            out.warned = true;
        }
    }
    return out;
}

void AddUnitChoice(const app::DesignState& d, WindowView& view, int column) {
    const int slot = SlotOfColumn(column);
    const int code = column == 0 ? d.measurement.zUnit : d.measurement.dUnit;
    ControlView& combo = Add(view, ControlName("cmbGBMeasureUnit", column));
    const auto codes = units::CategoryList(units::CategoryOf(Group::GB, slot));
    for (std::size_t i = 0; i < codes.size(); ++i) {
        combo.items.push_back(text::Tr(units::UnitDisplayName(codes[i])));
        if (codes[i] == code) combo.currentIndex = static_cast<int>(i);
    }
}

}  // namespace

int MeasurementAxes(const app::DesignState& d) {
    return std::clamp(std::max(d.measurement.table.axisCount, d.beam.diode.diodeMode ? 2 : 1), 1,
                      beam::kMaxMeasurementAxes);
}

units::UnitState MeasurementUnitsOf(const app::DesignState& d) {
    units::UnitState u = d.units;
    u.SetUnitCode(Group::GB, kZSlot, d.measurement.zUnit);
    u.SetUnitCode(Group::GB, kDiameterSlot, d.measurement.dUnit);
    return u;
}

MeasurementGrid MeasurementGridOf(const app::DesignState& d) {
    const int axes = MeasurementAxes(d);
    const units::UnitState u = MeasurementUnitsOf(d);
    MeasurementGrid grid;
    const auto unit = [&](int slot) {
        return " [" + std::string(u.UnitSuffix(Group::GB, slot)) + "]";
    };
    grid.header.push_back("z" + unit(kZSlot));
    for (int axis = 0; axis < axes; ++axis) {
        grid.header.push_back((axes > 1 ? "d " + AxisName(axis) : std::string("d")) +
                              unit(kDiameterSlot));
    }
    const double zf = u.UnitFactor(Group::GB, kZSlot), df = u.UnitFactor(Group::GB, kDiameterSlot);
    for (const beam::MeasurementRow& row : d.measurement.table.rows) {
        std::vector<std::string>& cells = grid.cells.emplace_back();
        cells.push_back(text::Format(row.z / zf, kCellFormat));
        for (int axis = 0; axis < axes; ++axis) {
            const double v = row.d[static_cast<std::size_t>(axis)];
            cells.push_back(v > 0 ? text::Format(v / df, kCellFormat) : std::string());
        }
    }
    return grid;
}

beam::MeasurementFit MeasurementFitOf(const app::DesignState& d) {
    beam::MeasurementTable complete;
    complete.axisCount = MeasurementAxes(d);
    for (const beam::MeasurementRow& row : d.measurement.table.rows) {
        const auto measured = [&](int axis) { return row.d[static_cast<std::size_t>(axis)] > 0; };
        bool all = true;
        for (int axis = 0; axis < complete.axisCount; ++axis) all = all && measured(axis);
        if (all) complete.rows.push_back(row);
    }
    return beam::FitMeasurement(complete, d.beam.WavelengthMm());
}

drawing::CausticPlotData CausticPlotOf(const app::DesignState& d) {
    const units::UnitState u = MeasurementUnitsOf(d);
    drawing::CausticPlotData data;
    data.zFactor = u.UnitFactor(Group::GB, kZSlot);
    data.dFactor = u.UnitFactor(Group::GB, kDiameterSlot);
    data.zTitle = text::TrFormat("Position z [%1]", {u.UnitSuffix(Group::GB, kZSlot)});
    data.dTitle = text::TrFormat("Radius d/2 [%1]", {u.UnitSuffix(Group::GB, kDiameterSlot)});
    const beam::MeasurementFit fit = MeasurementFitOf(d);
    for (int axis = 0; axis < MeasurementAxes(d); ++axis) {
        const auto a = static_cast<std::size_t>(axis);
        drawing::CausticPlotAxis& shown = data.axes.emplace_back();
        for (const beam::MeasurementRow& row : d.measurement.table.rows) {
            if (row.d[a] > 0) shown.measured.push_back({row.z, row.d[a]});
        }
        shown.fit = fit.axes[a].fit;
    }
    return data;
}

std::string ElementPositionText(const WindowState& s) {
    return InUnit(s.design.measurement.elementPosition, MeasurementUnitsOf(s.design), kZSlot,
                  "0.0###");
}

void AddMeasurementControls(const WindowState& s, WindowView& view) {
    const app::DesignState& d = s.design;
    Add(view, ControlName("lblGBMeasureUnit", 0), text::Tr("Einheit z:"));
    Add(view, ControlName("lblGBMeasureUnit", 1), text::Tr("Einheit d:"));
    AddUnitChoice(d, view, 0);
    AddUnitChoice(d, view, 1);
    Add(view, "comGBMeasurePaste", text::Tr("Ein&fügen")).toolTip = text::Tr(
        "Zeilen aus der Zwischenablage anhängen: z und ein oder zwei Durchmesser je Zeile, "
        "getrennt durch Tabulator, Semikolon oder Komma");
    Add(view, "comGBMeasureImport", text::Tr("CSV-&Import …")).toolTip =
        text::Tr("Die Tabelle durch die Messwerte einer CSV-Datei ersetzen");
    Add(view, "comGBMeasureRemove", text::Tr("Zeilen en&tfernen")).enabled =
        !d.measurement.table.rows.empty();
    Add(view, "lblGBMeasureElement", text::Tr("Lage des Elements auf z:"));
    Add(view, "txtGBMeasureElement", ElementPositionText(s));
    const FitTexts texts = FitTextsOf(d);
    const beam::MeasurementFit fit = MeasurementFitOf(d);
    const int needed = d.beam.diode.diodeMode ? 2 : 1;
    bool adoptable = true;
    for (int axis = 0; axis < needed; ++axis) {
        adoptable = adoptable && fit.axes[static_cast<std::size_t>(axis)].fit.has_value();
    }
    Add(view, "comGBMeasureAdopt", text::Tr("Ü&bernehmen")).enabled = adoptable;
    Add(view, "lblGBMeasureFit", texts.values);
    // Warnings stand out in the colour the window gives every caution (light yellow).
    Add(view, "lblGBMeasureNotes", texts.notes).highlight = texts.warned ? 0xC0FFFFu : 0u;
    Add(view, "grdGBMeasure");
    Add(view, "picGBMeasure");
}

void ApplyMeasurementCell(MainWindow& w, int row, int column, std::string_view text) {
    const app::DesignState& now = w.State().design;
    const int rows = static_cast<int>(now.measurement.table.rows.size());
    if (row < 0 || row > rows || column < 0 || column > MeasurementAxes(now)) return;
    if (row < rows && text == MeasurementGridOf(now).cells[static_cast<std::size_t>(row)]
                                                          [static_cast<std::size_t>(column)]) {
        return;
    }
    w.ApplyChange({MainWindow::kNoBackup, 0, false, false}, [&](app::DesignState& d) {
        beam::MeasurementTable& table = d.measurement.table;
        const bool blank = text.find_first_not_of(" \t") == std::string_view::npos;
        std::optional<double> value;
        if (!blank) {
            value =
                units::ParseQuantity(text, MeasurementUnitsOf(d), Group::GB, SlotOfColumn(column));
            if (!value || (column > 0 && !(*value > 0))) return false;
        } else if (column == 0 || row == rows) {
            return false;
        }
        if (row == rows) table.rows.emplace_back();
        beam::MeasurementRow& r = table.rows[static_cast<std::size_t>(row)];
        double& cell = column == 0 ? r.z : r.d[static_cast<std::size_t>(column - 1)];
        const double v = value.value_or(0.0);
        if (row < rows && cell == v) return false;
        cell = v;
        table.axisCount = std::max(table.axisCount, std::max(column, 1));
        return true;
    });
}

void RemoveMeasurementRows(MainWindow& w, const std::vector<int>& rows) {
    w.ApplyChange({MainWindow::kNoBackup, 0, false, false}, [&](app::DesignState& d) {
        std::vector<beam::MeasurementRow>& table = d.measurement.table.rows;
        std::vector<int> gone(rows);
        std::sort(gone.begin(), gone.end(), std::greater<>());
        gone.erase(std::unique(gone.begin(), gone.end()), gone.end());
        bool changed = false;
        for (const int r : gone) {
            if (r < 0 || r >= static_cast<int>(table.size())) continue;
            table.erase(table.begin() + r);
            changed = true;
        }
        return changed;
    });
}

void ChooseMeasurementUnit(MainWindow& w, int column, int entry) {
    if (column != 0 && column != 1) return;
    const auto codes = units::CategoryList(units::CategoryOf(Group::GB, SlotOfColumn(column)));
    if (entry < 0 || entry >= static_cast<int>(codes.size())) return;
    const int code = codes[static_cast<std::size_t>(entry)];
    w.ApplyChange({MainWindow::kNoBackup, 0, false, false}, [&](app::DesignState& d) {
        int& unit = column == 0 ? d.measurement.zUnit : d.measurement.dUnit;
        if (unit == code) return false;
        unit = code;
        return true;
    });
}

void ApplyElementPositionText(MainWindow& w, std::string_view text) {
    if (text == ElementPositionText(w.State())) return;
    w.ApplyChange({MainWindow::kNoBackup, 0, false, false}, [&](app::DesignState& d) {
        const auto v = units::ParseQuantity(text, MeasurementUnitsOf(d), Group::GB, kZSlot);
        if (!v || !engine::FitsFloat(*v) || *v == d.measurement.elementPosition) return false;
        d.measurement.elementPosition = *v;
        return true;
    });
}

}  // namespace rs::ui
