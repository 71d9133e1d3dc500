#include "ui/entry_rules.h"

#include "beam/gaussian_beam.h"
#include "engine/continuity.h"
#include "engine/selection.h"
#include "text/tr.h"
#include "ui/image_formats.h"
#include "ui/main_window.h"

namespace rs::ui {
namespace {

// A selection operation that failed names a fault of the calling code; the window shows it.
bool Failed(const engine::SelectionStatus& status, ChoiceOutcome& outcome) {
    if (status.ok()) return false;
    outcome.message = status.diagnostic;
    outcome.icon = Icon::None;
    return true;
}

}  // namespace

ChoiceOutcome ChooseParam(app::DesignState& d, int index, bool checked) {
    ChoiceOutcome outcome;
    engine::ParaxialDesign& p = d.paraxial;
    if (d.beam.beamMode || index < 0 || index > engine::kImgAngle) return outcome;
    if (checked == p.params.Contains(index)) return outcome;
    if (checked && p.params.Full()) return outcome;
    if (Failed(checked ? p.AddParam(index) : p.params.Remove(index), outcome)) return outcome;
    if (checked) {
        if (auto message = engine::CheckCombination(p.params, index)) {
            outcome.message = *message;
            outcome.icon = Icon::Exclamation;
            return outcome;
        }
    }
    if (p.options.objAtInfinity && !p.params.Contains(engine::kObjDist)) {
        p.options.objAtInfinity = false;
    }
    outcome.changed = true;
    return outcome;
}

ChoiceOutcome ChooseAperture(app::DesignState& d, int index, bool checked) {
    ChoiceOutcome outcome;
    engine::ParaxialDesign& p = d.paraxial;
    if (d.beam.beamMode || index < 0 || index > engine::kNAImage) return outcome;
    if (checked == p.aperture.Contains(index)) return outcome;
    if (checked && p.aperture.Full()) return outcome;
    outcome.changed = !Failed(checked ? p.AddAperture(index) : p.aperture.Remove(index), outcome);
    return outcome;
}

ChoiceOutcome ChooseBeamParam(app::DesignState& d, int index, bool checked) {
    ChoiceOutcome outcome;
    beam::BeamDesign& b = d.beam;
    if (!b.beamMode || !beam::IsSelectableBeamIndex(index)) return outcome;
    engine::Selection& sel = b.axes[0].selection;
    if (checked == sel.Contains(index)) return outcome;
    const engine::Selection previous = sel;
    const auto prefill = d.paraxial.continuity.PrefillBeam(0, index, d.paraxial.Margin());
    const beam::ToggleOutcome toggled = beam::ToggleBeamParam(b, index, checked, prefill);
    if (toggled.message) {
        outcome.message = *toggled.message;
        outcome.icon = Icon::Exclamation;
    }
    outcome.changed = !(sel == previous);
    return outcome;
}

std::optional<const char*> AngleRefusal(bool beamMode, int index, double value) {
    if (beamMode || !engine::IsFieldAngle(index) ||
        engine::FieldAngleInRange(static_cast<float>(value))) {
        return std::nullopt;
    }
    return index == engine::kObjAngle
               ? text::TrNoop("Der Objektwinkel muss zwischen -90° und 90° liegen!")
               : text::TrNoop("Der Bildwinkel muss zwischen -90° und 90° liegen!");
}

bool NeedsRealObject(const app::DesignState& d, int index, double value) {
    return !d.beam.beamMode && index == engine::kObjDist && value > 0 && !d.window.positiveObj;
}

std::optional<const char*> ApertureRuleRefusal(int index, double displayValue,
                                               const char* positivePrompt) {
    if (index == engine::kFNumber) {
        if (displayValue >= 1) return std::nullopt;
        return kFNumberPrompt;
    }
    if (displayValue >= 0) return std::nullopt;
    return positivePrompt;
}

void StoreTypedValue(app::DesignState& d, engine::CVarType& entry, double value,
                     bool fromImageFormat) {
    engine::ExtendLimitsToValue(entry, value, 1.0, d.paraxial.Margin());
    if (d.beam.beamMode) {
        MainWindow::StoreBeamValue(d, entry.nVarType, value);
    } else if (fromImageFormat) {
        entry.sVarValue = static_cast<float>(value);
        entry.bVarValDef = true;
    } else {
        SetGeneralValue(d, entry, static_cast<float>(value));
    }
}

void StoreApertureValue(app::DesignState& d, double value) {
    engine::CVarType& e = d.paraxial.aperture.Entry(1);
    engine::ExtendLimitsToValue(e, value, 1.0, d.paraxial.Margin());
    e.sVarValue = static_cast<float>(value);
    e.bVarValDef = true;
}

}  // namespace rs::ui
