#include "ui/extras_panel.h"

#include <array>
#include <cmath>
#include <string>

#include "analysis/dof.h"
#include "app/presentation.h"
#include "beam/beam_extras.h"
#include "beam/diode.h"
#include "drawing/beam_drawing.h"
#include "engine/numbers.h"
#include "text/tr.h"
#include "text/vb_format.h"
#include "ui/data_backup.h"
#include "units/typed_number.h"

namespace rs::ui {
namespace {

constexpr std::array<const char*, 2> kCoCTypeCaptions = {
    text::TrNoop("Benutzerdefiniert"), text::TrNoop("kleinster physikalisch moeglicher Wert")};
constexpr std::array<const char*, 2> kCollimationModes = {
    text::TrNoop("minimale Strahldivergenz"), text::TrNoop("maximaler Strahltaillenabstand")};
constexpr std::array<const char*, 4> kMatchedParams = {
    text::TrNoop("Brennweite"), text::TrNoop("Bildabstand"), text::TrNoop("Vergrößerung"),
    text::TrNoop("Strahltaillenradius im Bildraum")};

ControlView& Add(WindowView& view, std::string name, std::string text = {}) {
    ControlView c;
    c.name = std::move(name);
    c.text = std::move(text);
    view.controls.push_back(std::move(c));
    return view.controls.back();
}

// The unit the window shows scale lengths and distances in.
beam::DistanceUnit DistanceUnitOf(const WindowState& s) {
    const units::UnitState& u = s.design.units;
    return {u.UnitFactor(units::Group::GBExtra, 0), u.UnitSuffix(units::Group::GBExtra, 0)};
}

// Axis 0 has a solution worth deriving figures from.
bool Axis0Solved(const beam::BeamDesign& b) {
    const beam::BeamAxis& a = b.axes[0];
    return a.selection.Count() == 3 && a.valuesDefined && !a.resultInvalid;
}

analysis::DofDisplayUnit CoCUnit(const app::DesignState& d, const engine::ParaxialDesign& shown) {
    return app::DofUnits(d.units)(analysis::kDofCoC, analysis::CircleOfConfusion(d.dof, shown));
}

void AddDofPanel(const WindowState& s, WindowView& view) {
    const analysis::DofPanel& panel = view.dofPanel;
    for (int row = 0; row < analysis::kDofRowCount; ++row) {
        const auto r = static_cast<std::size_t>(row);
        Add(view, ControlName("lblDOFName", row), text::Tr(panel.names[r]));
        Add(view, ControlName("lblDOFVal", row), panel.values[r]);
    }
    ControlView& status = Add(view, "lblDOFStatus", text::Tr(panel.status));
    status.highlight = panel.statusColour == analysis::kColourWhite ? 0u : panel.statusColour;
    const int type = s.design.dof.cocType;
    Add(view, "txtDOFCoC", CoCBoxText(s)).enabled = type == analysis::kCoCCustom;
    for (int k = 0; k < 2; ++k) {
        Add(view, ControlName("optCoCType", k),
            text::Tr(kCoCTypeCaptions[static_cast<std::size_t>(k)]))
            .checked = type == k;
    }
}

void AddBeamOptions(const WindowState& s, WindowView& view) {
    const beam::BeamDesign& b = s.design.beam;
    const beam::BeamExtrasOptions& o = b.extrasOptions;
    const bool diode = b.diode.diodeMode;

    Add(view, "chkGBExtraM2Use", text::Tr("Effekt anzeigen")).checked = o.mFactorUse;
    Add(view, "txtGBExtraMFactor", beam::MFactorText(b, 0)).enabled = o.mFactorUse;
    Add(view, "chkGBExtraDetector", text::Tr("Detektor anzeigen")).checked = o.detectorOn;
    Add(view, "txtGBExtraDetector", beam::DetectorDistanceText(b, DistanceUnitOf(s))).enabled =
        o.detectorOn;
    Add(view, "txtGMExtraMinSpotD", beam::MinSpotDistanceText(b, DistanceUnitOf(s)));
    Add(view, "lblGBExtraMinSpotRes", text::Tr(beam::MinSpotText(b)));
    ControlView& scale = Add(view, "cmbGBDrgScales");
    for (int choice = 0; choice < drawing::kBeamScaleChoiceCount; ++choice) {
        scale.items.push_back(text::Tr(drawing::BeamScaleChoiceText(choice)));
    }
    const bool fixed = o.drgScaleType >= 1 && o.drgScaleType <= 3;
    scale.currentIndex =
        o.drgScaleType >= 0 && o.drgScaleType < drawing::kBeamScaleChoiceCount ? o.drgScaleType : 0;
    Add(view, "txtGBExtraDrgScale", DrawingDistanceText(s)).enabled = fixed;

    Add(view, "chkGBExtraDiodeMode", text::Tr("Diodenlaser [rechteckiger Strahl]")).checked = diode;
    ControlView& kind = Add(view, "cmbGBExtraDiodeParamType");
    for (int index = beam::kGbObjRadius; index <= beam::kGbObjRayleigh; ++index) {
        kind.items.push_back(text::Tr(beam::BeamReportName(index)) + b.symbols.Param(index));
    }
    // While axis 0's third parameter decides the kind, the list shows that one and takes none.
    kind.currentIndex = beam::DiodeParamKind(b) - beam::kGbObjRadius;
    const bool forced = beam::DiodeParamKindForced(b);
    kind.enabled = diode && !forced;
    kind.toolTip = forced ? text::Tr(
                                "Festgelegt durch den dritten Strahlparameter der 1. Achse; "
                                "entfernen Sie dort den Haken, um hier zu wählen")
                          : text::Tr("Parameter zur Definition des Laserstrahls im Objektraum");
    Add(view, "txtGBExtraDiodeParamVal", DiodeParamBoxText(s)).enabled = diode;
    Add(view, "txtGBExtraDiodeMFactor", beam::MFactorText(b, 1)).enabled = diode && o.mFactorUse;
    ControlView& circ = Add(view, "chkGBExtraBeamRectCircularise",
                            text::Tr("Strahl zirkularisieren [gekreuzte Zylinderlinsen]"));
    circ.checked = b.diode.circularise;
    circ.enabled = diode;
    ControlView& mode = Add(view, "cmbGBExtraBeamRectCircMode");
    for (const char* m : kCollimationModes) mode.items.push_back(text::Tr(m));
    mode.currentIndex = b.diode.collimationMode == beam::kCollimateMaxWaistDistance ? 1 : 0;
    mode.enabled = diode && b.diode.circularise;
    // Both axes always share the focal length: the list names it and offers nothing else.
    ControlView& matched = Add(view, "cmbGBExtraDiodeParamMatched");
    for (const char* p : kMatchedParams) matched.items.push_back(text::Tr(p));
    matched.currentIndex = 0;
    matched.enabled = false;

    ControlView& dof = Add(view, "lstGBExtraDOFPercent");
    for (int entry = 0; entry < beam::kDofEntryCount; ++entry) {
        dof.items.push_back(text::Tr(beam::DofEntryText(entry)));
    }
    dof.currentIndex = beam::DofEntryOf(beam::EffectiveDofFraction(o));
    Add(view, "lblGBExtraDOFVal", Axis0Solved(b) ? beam::DepthOfFocusText(b) : std::string());
}

// Runs a text handler only when the box was edited: leaving a box unchanged must not round its
// value to what the box shows, nor cost an undo step.
template <typename Apply>
void ApplyEdited(MainWindow& w, std::string_view text, std::string_view shown, int backupKind,
                 Apply apply) {
    if (text == shown) return;
    w.ApplyChange({backupKind, 0, true, true}, [&](app::DesignState& d) { return apply(d); });
}

}  // namespace

std::string CoCBoxText(const WindowState& s) {
    const engine::ParaxialDesign shown = app::PresentedParaxial(s.design);
    return analysis::CustomCoCText(s.design.dof, shown, CoCUnit(s.design, shown));
}

std::string DiodeParamBoxText(const WindowState& s) {
    const beam::BeamDesign& b = s.design.beam;
    const int kind = beam::DiodeParamKind(b);
    const units::UnitState& u = s.design.units;
    return text::Format(beam::DiodeParamValue(b) / u.UnitFactor(units::Group::GB, kind),
                        beam::BeamFormat(kind)) +
           std::string(u.UnitSuffix(units::Group::GB, kind));
}

void AddExtrasControls(const WindowState& s, WindowView& view) {
    AddDofPanel(s, view);
    AddBeamOptions(s, view);
}

void ApplyCoCText(MainWindow& w, std::string_view text) {
    ApplyEdited(w, text, CoCBoxText(w.State()), kBackupCoC, [&](app::DesignState& d) {
        if (d.dof.cocType != analysis::kCoCCustom) return false;
        const auto mm = units::ParseQuantity(text, d.units, units::Group::ParaxDOF,
                                             units::kDofCircleOfConfusion);
        return mm && analysis::SetCoCCustom(d.dof, *mm);
    });
}

void ChooseCoCType(MainWindow& w, int type) {
    if (type != analysis::kCoCCustom && type != analysis::kCoCDiffraction) return;
    // An undo step would not hold the type: the choice is no undo step of its own.
    w.ApplyChange({MainWindow::kNoBackup, 0, true, true}, [type](app::DesignState& d) {
        if (d.dof.cocType == type) return false;
        d.dof.cocType = type;
        return true;
    });
}

void SetMFactorUse(MainWindow& w, bool on) {
    w.ApplyChange({kBackupBeamValue, 0, true, true}, [on](app::DesignState& d) {
        if (d.beam.extrasOptions.mFactorUse == on) return false;
        d.beam.extrasOptions.mFactorUse = on;
        return true;
    });
}

void ApplyMFactorText(MainWindow& w, int axis, std::string_view text) {
    if (axis != 0 && axis != 1) return;
    ApplyEdited(w, text, beam::MFactorText(w.State().design.beam, axis), kBackupBeamValue,
                [&](app::DesignState& d) {
                    return beam::ApplyMFactorText(d.beam, axis, text) == beam::EditResult::Accepted;
                });
}

void SetDetectorOn(MainWindow& w, bool on) {
    w.ApplyChange({kBackupBeamValue, 0, true, true}, [on](app::DesignState& d) {
        if (d.beam.extrasOptions.detectorOn == on) return false;
        d.beam.extrasOptions.detectorOn = on;
        return true;
    });
}

void ApplyDetectorText(MainWindow& w, std::string_view text) {
    const beam::DistanceUnit unit = DistanceUnitOf(w.State());
    ApplyEdited(w, text, beam::DetectorDistanceText(w.State().design.beam, unit), kBackupBeamValue,
                [&](app::DesignState& d) {
                    return beam::ApplyDetectorDistanceText(d.beam, text, unit) ==
                           beam::EditResult::Accepted;
                });
}

void ApplyMinSpotText(MainWindow& w, std::string_view text) {
    const beam::DistanceUnit unit = DistanceUnitOf(w.State());
    ApplyEdited(w, text, beam::MinSpotDistanceText(w.State().design.beam, unit), kBackupBeamValue,
                [&](app::DesignState& d) {
                    return beam::ApplyMinSpotDistanceText(d.beam, text, unit) ==
                           beam::EditResult::Accepted;
                });
}

void ChooseDofEntry(MainWindow& w, int entry) {
    if (entry < 0 || entry >= beam::kDofEntryCount) return;
    w.ApplyChange({MainWindow::kNoBackup, 0, true, true}, [entry](app::DesignState& d) {
        return beam::SetDofEntry(d.beam, entry) == beam::EditResult::Accepted;
    });
}

std::string DrawingDistanceText(const WindowState& s) {
    return beam::DistanceText(s.design.beam.extrasOptions.drgScale, "0.0##", DistanceUnitOf(s));
}

void ChooseDrawingScale(MainWindow& w, int entry) {
    if (entry < 0 || entry >= drawing::kBeamScaleChoiceCount) return;
    w.ApplyChange({MainWindow::kNoBackup, 0, false, false}, [entry](app::DesignState& d) {
        if (d.beam.extrasOptions.drgScaleType == entry) return false;
        d.beam.extrasOptions.drgScaleType = entry;
        return true;
    });
}

void ApplyDrawingDistanceText(MainWindow& w, std::string_view text) {
    if (text == DrawingDistanceText(w.State())) return;
    const beam::DistanceUnit unit = DistanceUnitOf(w.State());
    w.ApplyChange({MainWindow::kNoBackup, 0, false, false}, [text, unit](app::DesignState& d) {
        auto mm = units::ParsePlainNumber(text, unit.suffix);
        if (mm) *mm *= unit.factor;
        double& stored = d.beam.extrasOptions.drgScale;
        if (!mm || !std::isfinite(*mm) || *mm < 0.0 || !engine::FitsFloat(*mm) ||
            engine::SameValue(*mm, stored)) {
            return false;
        }
        stored = *mm;
        return true;
    });
}

void SetDiodeMode(MainWindow& w, bool on) {
    w.ApplyChange({kBackupDiode, 0, true, true}, [on](app::DesignState& d) {
        if (d.beam.diode.diodeMode == on) return false;
        d.beam.diode.diodeMode = on;
        // Turning the diode on with circularisation already chosen shapes axis 0 for it.
        if (on && d.beam.diode.circularise) beam::ReshapeAxis0ForCircularisation(d.beam);
        return true;
    });
}

void SetCircularise(MainWindow& w, bool on) {
    w.ApplyChange({kBackupDiode, 0, true, true}, [on](app::DesignState& d) {
        if (d.beam.diode.circularise == on) return false;
        d.beam.diode.circularise = on;
        if (on) beam::ReshapeAxis0ForCircularisation(d.beam);
        return true;
    });
}

void ChooseCollimationMode(MainWindow& w, int mode) {
    if (mode != beam::kCollimateMinDivergence && mode != beam::kCollimateMaxWaistDistance) return;
    w.ApplyChange({MainWindow::kNoBackup, 0, true, true}, [mode](app::DesignState& d) {
        if (d.beam.diode.collimationMode == mode) return false;
        d.beam.diode.collimationMode = mode;
        return true;
    });
}

void ChooseDiodeParamKind(MainWindow& w, int entry) {
    const int kind = beam::kGbObjRadius + entry;
    if (kind < beam::kGbObjRadius || kind > beam::kGbObjRayleigh) return;
    // Only axis 1 changes: axis 0's values, given up for a moment while it has two parameters,
    // stay in the continuity store for its third box.
    w.ApplyChange({MainWindow::kNoBackup, 0, false, true}, [kind](app::DesignState& d) {
        if (d.beam.diode.paramKind == kind) return false;
        return beam::SetDiodeParamKind(d.beam, kind);
    });
}

void ApplyDiodeParamText(MainWindow& w, std::string_view text) {
    ApplyEdited(w, text, DiodeParamBoxText(w.State()), kBackupBeamValue, [&](app::DesignState& d) {
        const int kind = beam::DiodeParamKind(d.beam);
        const auto v = units::ParseQuantity(text, d.units, units::Group::GB, kind);
        // The value stored already is no change and takes no undo step.
        if (!v || d.beam.diode.paramValues[static_cast<std::size_t>(kind)] == *v) return false;
        return beam::SetDiodeParamValue(d.beam, *v);
    });
}

}  // namespace rs::ui
