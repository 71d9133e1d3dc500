#include "ui/main_window.h"

// Advanced options, the lens or mirror mode, the display switches, the symbol set and the beam
// mode with its own switches.
#include <cmath>
#include <utility>

#include "app/settings.h"
#include "beam/beam_extras.h"
#include "beam/gaussian_beam.h"
#include "engine/continuity.h"
#include "text/tr.h"
#include "ui/main_window_internal.h"
#include "ui/view_model.h"
#include "units/typed_number.h"

namespace rs::ui {

void window_detail::ResetAdvancedValues(app::DesignState& d) {
    engine::OptionState& o = d.paraxial.options;
    o.advanced = engine::AdvancedOptions{};
    if (o.mirrorMode) o.advanced.nImage = -1.0f;
}

using engine::SameValue;
using units::ParsePlainNumber;
namespace {

using engine::CVarType;
using window_detail::ResetAdvancedValues;

// Limits of a value as the automatic rule derives them, from nothing.
void DeriveLimits(CVarType& e, double margin) {
    e.bLimLowDef = e.bLimHihDef = false;
    if (e.bVarValDef) engine::ExtendLimitsToValue(e, e.sVarValue, 1.0, margin);
}

// Sets a display switch; true when it changed.
bool Switch(bool& option, bool on) {
    if (option == on) return false;
    option = on;
    return true;
}

}  // namespace

void MainWindow::SetAdvancedOptions(bool on) {
    ApplyChange({kNoBackup}, [on](app::DesignState& d) {
        if (d.paraxial.options.advOptions == on) return false;
        d.paraxial.options.advOptions = on;
        return true;
    });
}

void MainWindow::ApplyAdvancedValue(int box, std::string_view text) {
    if (!s_.machine.IsIdle()) return;
    if (box < 0 || box > 3 || !AdvancedBoxEnabled(s_, box)) return;
    if (text == AdvancedBoxText(s_, box)) return;
    const auto x = ParsePlainNumber(text, box == 3 ? "nm" : box == 0 ? "mm" : "");
    if (!x) {
        RecordPending(ControlName("txtAdv", box), text);
        return;
    }
    ApplyChange({kBackupAdvanced}, [&](app::DesignState& d) {
        engine::OptionState& o = d.paraxial.options;
        const double current = box == 0   ? o.PrincipalPlaneSeparation()
                               : box == 1 ? o.ObjectIndex()
                               : box == 2 ? o.ImageIndex()
                                          : o.TestWavelength();
        if (SameValue(current, static_cast<float>(*x))) return false;
        std::optional<const char*> refusal;
        if (box == 3 && !(*x >= 10 && *x <= 1e6)) {
            refusal = text::TrNoop("Die Wellenlänge muß zwischen 10^1 & 10^6nm liegen! ");
        } else if (box == 2 && !(*x >= 1.0 && *x <= 3.0)) {
            refusal = text::TrNoop("Die Brechzahl im Bildraum muss zwischen 1.0 und 3.0 liegen!");
        } else if (box == 1 && !(*x >= 1.0 && *x <= 3.0)) {
            refusal = text::TrNoop("Die Brechzahl im Objektraum muss zwischen 1.0 und 3.0 liegen!");
        }
        if (Refused(refusal)) return false;
        const float v = static_cast<float>(*x);
        switch (box) {
            case 0:
                o.advanced.separation = v;
                break;
            case 1:
                o.SetObjectIndex(v);
                if (o.mirrorMode) o.advanced.nImage = -v;
                break;
            case 2:
                o.SetImageIndex(v);
                break;
            default:
                o.advanced.wavelength = v;
                break;
        }
        return true;
    });
}

void MainWindow::DefaultAdvancedValues() {
    ApplyChange({kBackupAdvanced}, [](app::DesignState& d) {
        const engine::AdvancedOptions previous = d.paraxial.options.advanced;
        ResetAdvancedValues(d);
        return d.paraxial.options.advanced != previous;
    });
}

void MainWindow::ChooseMirrorMode(int entry) {
    if (entry != 0 && entry != 1) return;
    ApplyChange({kBackupMirror, 0, true, true}, [mirror = entry == 1](app::DesignState& d) {
        engine::ParaxialDesign& p = d.paraxial;
        engine::OptionState& o = p.options;
        if (mirror == o.mirrorMode) return false;
        o.mirrorMode = mirror;
        // A mirror reflects the light back: its image space has a negative index.
        o.advanced.nImage = mirror ? -std::fabs(o.advanced.nImage) : std::fabs(o.advanced.nImage);
        // A converging lens and a converging (concave) mirror have focal lengths of opposite
        // signs.
        if (const auto pos = p.params.Find(engine::kFocal)) {
            CVarType& e = p.params.Entry(*pos);
            e.sVarValue = -e.sVarValue;
            const CVarType old = e;
            e.sLimHih = -old.sLimLow;
            e.bLimHihDef = old.bLimLowDef;
            e.sLimLow = -old.sLimHih;
            e.bLimLowDef = old.bLimHihDef;
        }
        return true;
    });
}

void MainWindow::SetPositiveObjectAllowed(bool allowed) {
    ApplyChange({kBackupPositiveObj}, [allowed](app::DesignState& d) {
        if (d.window.positiveObj == allowed) return false;
        d.window.positiveObj = allowed;
        const auto pos = d.paraxial.params.Find(engine::kObjDist);
        if (!allowed && pos && !d.paraxial.options.objAtInfinity) {
            // Back to real objects only: the object distance and its limits become negative.
            CVarType& e = d.paraxial.params.Entry(*pos);
            if (e.bVarValDef && e.sVarValue > 0) e.sVarValue = -e.sVarValue;
            if (e.bLimLowDef && e.sLimLow > 0) e.sLimLow = -e.sLimLow;
            if (e.bLimHihDef && e.sLimHih > 0) e.sLimHih = -e.sLimHih;
            if (e.bVarValDef) {
                const bool enclosed = e.bLimLowDef && e.bLimHihDef && e.sLimLow <= e.sVarValue &&
                                      e.sVarValue <= e.sLimHih;
                if (!enclosed) DeriveLimits(e, d.paraxial.Margin());
            } else if (e.bLimLowDef && e.bLimHihDef && e.sLimLow > e.sLimHih) {
                std::swap(e.sLimLow, e.sLimHih);
            }
        }
        return true;
    });
}

void MainWindow::SetObjectAtInfinity(bool on) {
    ApplyChange({kBackupObjAtInfinity}, [on](app::DesignState& d) {
        engine::ParaxialDesign& p = d.paraxial;
        if (d.beam.beamMode || p.options.objAtInfinity == on) return false;
        const auto pos = p.params.Find(engine::kObjDist);
        // Only a chosen object distance can be put at infinity.
        if (on && !pos) return false;
        if (pos) {
            CVarType& e = p.params.Entry(*pos);
            e.sVarValue = on ? engine::kInfinity : 0.0f;
            e.bVarValDef = on;
            e.bLimLowDef = e.bLimHihDef = false;
        }
        p.options.objAtInfinity = on;
        // An object at infinity is described by its field angle, not by its height.
        if (on && p.params.Contains(engine::kObjHeight)) p.params.Remove(engine::kObjHeight);
        return true;
    });
}

void MainWindow::SetHideRemoteConjugates(bool on) {
    ApplyChange({kNoBackup, 0, false},
                [on](app::DesignState& d) { return Switch(d.window.hideRemConj, on); });
}

void MainWindow::SetDrawPoints(bool on) {
    ApplyChange({kNoBackup, 0, false},
                [on](app::DesignState& d) { return Switch(d.window.drawPoints, on); });
}

void MainWindow::SetListOption(int entry, bool checked) {
    if (entry == 0) {
        ApplyChange({kBackupConstructionRays, 0, false}, [checked](app::DesignState& d) {
            return Switch(d.window.drawHaltingRay, checked);
        });
    } else if (entry == 1) {
        ApplyChange({kNoBackup, 0, false},
                    [checked](app::DesignState& d) { return Switch(d.dof.showExtra, checked); });
    }
}

void MainWindow::ChooseSymbolSet(int entry) {
    if (entry != 0 && entry != 1) return;
    ApplyChange({kNoBackup, 0, false, true}, [&](app::DesignState& d) {
        d.window.unitType = entry;
        SaveImmediate("Options", "UnitType", std::to_string(entry));
        LoadSymbols(d);
        return false;
    });
}

void MainWindow::LoadSymbols(app::DesignState& d) {
    const int mode = d.window.unitType == 1 ? 1 : 0;
    const engine::SymbolLookup lookup = app::SymbolsFrom(settings_);
    d.paraxial.symbols.InitParamSymbols(mode, lookup);
    d.paraxial.symbols.InitCardinalSymbols(mode, lookup);
    d.beam.symbols.Init(mode, app::SymbolsFrom(settings_, "SymbolsGB"));
}

void MainWindow::SetBeamMode(bool on) {
    ApplyChange({kNoBackup, 0, false, true},
                [on](app::DesignState& d) { return Switch(d.beam.beamMode, on); });
}

void MainWindow::SetBeamExtrasShown(bool on) {
    ApplyChange({kNoBackup, 0, false},
                [on](app::DesignState& d) { return Switch(d.beam.extrasOptions.showExtra, on); });
}

void MainWindow::ApplyBeamWavelength(std::string_view text) {
    if (!s_.design.beam.beamMode || text == beam::WavelengthText(s_.design.beam)) return;
    ApplyChange({kBackupBeamValue}, [&](app::DesignState& d) {
        return beam::ApplyWavelengthText(d.beam, text) == beam::EditResult::Accepted;
    });
}

void MainWindow::ToggleAltSolution() {
    ApplyChange({kNoBackup}, [](app::DesignState& d) {
        if (!beam::AltSolutionAvailable(d.beam)) return false;
        d.beam.altSolution = !d.beam.altSolution;
        return true;
    });
}

}  // namespace rs::ui
