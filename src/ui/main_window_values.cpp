#include "ui/main_window.h"

// Values, limits and sliders: what is typed into the value and limit boxes, chosen from the
// image-format list or set with a slider, and the rules that refuse or correct it.
#include <algorithm>
#include <cmath>

#include "beam/diode.h"
#include "beam/gaussian_beam.h"
#include "engine/catalogue.h"
#include "engine/continuity.h"
#include "text/number_text.h"
#include "text/tr.h"
#include "ui/entry_rules.h"
#include "ui/image_formats.h"
#include "ui/main_window_internal.h"
#include "ui/view_model.h"
#include "units/typed_number.h"

namespace rs::ui {

using engine::SameValue;
using units::ParseQuantity;
namespace {

using engine::CVarType;
using window_detail::FlagScope;
using window_detail::KeepLimitsFinite;

constexpr const char* kObjDistTitle = text::TrNoop("Entfernung Objekt-erste Linsenfläche");
constexpr const char* kApertureTitle = text::TrNoop("Aperturwerte");

std::string NumberDefault(double displayValue) {
    return text::ShortestText(displayValue);
}

}  // namespace

double ValueAtPosition(float lower, float upper, int position) {
    const int p = std::clamp(position, kSliderMin, kSliderMax);
    // The ends are the limits themselves: across a wide range the interpolation rounds, and a
    // slider at its end would otherwise set a value just outside its own limit.
    if (p == kSliderMin) return lower;
    if (p == kSliderMax) return upper;
    const double v = static_cast<double>(lower) + (static_cast<double>(upper) - lower) *
                                                      (p - kSliderMin) / (kSliderMax - kSliderMin);
    return std::clamp(v, static_cast<double>(std::min(lower, upper)),
                      static_cast<double>(std::max(lower, upper)));
}

std::optional<int> PositionOfValue(float lower, float upper, float value) {
    if (lower == upper) return std::nullopt;
    const double share =
        (static_cast<double>(value) - lower) / (static_cast<double>(upper) - lower);
    const double pos = kSliderMin + share * (kSliderMax - kSliderMin);
    if (!std::isfinite(pos)) return std::nullopt;
    return static_cast<int>(std::lround(std::clamp<double>(pos, kSliderMin, kSliderMax)));
}

template <typename Acceptable>
std::optional<double> MainWindow::AskUntil(std::string_view title, std::string_view prompt,
                                           const std::string& defaultText, units::Group group,
                                           int slot, double factor, Acceptable acceptable) {
    // Repeats until the answer is acceptable; Cancel abandons the entry.
    for (;;) {
        const auto answer = dialogs_.Input(text::Tr(title), text::Tr(prompt), defaultText);
        if (!answer) return std::nullopt;
        const auto v = ParseQuantity(*answer, s_.design.units, group, slot);
        if (v && acceptable(*v / factor)) return v;
    }
}

// --- Values ---------------------------------------------------------------------------------

std::optional<double> MainWindow::RealObjectValue(int index, double value, bool limit) {
    const app::DesignState& d = s_.design;
    if (!NeedsRealObject(d, index, value)) return value;
    const double factor = d.units.UnitFactor(units::Group::Parax, index);
    return AskUntil(kObjDistTitle, limit ? kObjDistLimitPrompt : kObjDistPrompt,
                    NumberDefault(-value / factor), units::Group::Parax, index, factor,
                    [](double x) { return x < 0; });
}

std::optional<double> MainWindow::ApertureRuleValue(int index, double value,
                                                    const char* positivePrompt) {
    const double factor = s_.design.units.UnitFactor(units::Group::ParaxAp, index);
    const auto refusal = ApertureRuleRefusal(index, value / factor, positivePrompt);
    if (!refusal) return value;
    return AskUntil(kApertureTitle, *refusal, index == engine::kFNumber ? "1" : "0",
                    units::Group::ParaxAp, index, factor,
                    [&](double y) { return !ApertureRuleRefusal(index, y, positivePrompt); });
}

void MainWindow::StoreBeamValue(app::DesignState& d, int index, double value) {
    engine::Selection& sel = d.beam.axes[0].selection;
    beam::SetSelectedValue(d.beam, 0, index, value);
    // While circularising, f' and s of axis 0 move together.
    if (const auto partner = beam::CoupledConjugateValue(d.beam, index, value)) {
        if (const auto pos = sel.Find(partner->index);
            pos && beam::SetSelectedValue(d.beam, 0, partner->index, partner->value)) {
            engine::ExtendLimitsToValue(sel.Entry(*pos), partner->value, 1.0, d.paraxial.Margin());
        }
    }
}

void MainWindow::ApplyTypedValue(int slot, std::string_view text) {
    const app::DesignState& d = s_.design;
    const bool beamMode = d.beam.beamMode;
    const engine::Selection& sel = beamMode ? d.beam.axes[0].selection : d.paraxial.params;
    if (!s_.machine.IsIdle() || slot < 0 || slot >= sel.Count()) return;
    const int index = sel.Index(slot + 1);
    // The box of an object at infinity shows "In Unendlich" and takes nothing.
    if (!beamMode && index == engine::kObjDist && d.paraxial.options.objAtInfinity) return;
    // Leaving a box without editing it must not round the value to what the box shows.
    if (text == ValueBoxText(s_, slot)) return;
    // Text that is no number changes nothing: the box shows the value again (or stays empty).
    const auto v =
        ParseQuantity(text, d.units, beamMode ? units::Group::GB : units::Group::Parax, index);
    FlagScope typing(s_.enteringByTyping);
    ApplySlotValue(slot, v, false);
}

void MainWindow::ApplySlotValue(int slot, std::optional<double> value, bool fromImageFormat) {
    const bool beamMode = s_.design.beam.beamMode;
    ApplyChange({beamMode ? kBackupBeamValue : kBackupTypedValue}, [&](app::DesignState& d) {
        if (!value) return false;
        engine::Selection& sel = beamMode ? d.beam.axes[0].selection : d.paraxial.params;
        const CVarType old = sel.At(slot + 1);
        auto unchanged = [&](double v) {
            return old.bVarValDef && SameValue(old.sVarValue, static_cast<float>(v));
        };
        std::optional<double> v = value;
        if (!unchanged(*v)) {
            if (Refused(AngleRefusal(beamMode, old.nVarType, *v))) return false;
            v = RealObjectValue(old.nVarType, *v, false);
        }
        if (!v || unchanged(*v)) return false;
        StoreTypedValue(d, sel.Entry(slot + 1), *v, fromImageFormat);
        return true;
    });
}

void MainWindow::ApplyApertureValue(std::string_view text) {
    const app::DesignState& current = s_.design;
    if (current.beam.beamMode || current.paraxial.aperture.Count() == 0) return;
    if (text == ApertureValueText(s_)) return;
    ApplyChange({kBackupTypedValue}, [&](app::DesignState& d) {
        engine::Selection& sel = d.paraxial.aperture;
        const CVarType old = sel.At(1);
        auto unchanged = [&](double x) {
            return old.bVarValDef && SameValue(old.sVarValue, static_cast<float>(x));
        };
        auto v = ParseQuantity(text, d.units, units::Group::ParaxAp, old.nVarType);
        if (v && !unchanged(*v)) v = ApertureRuleValue(old.nVarType, *v, kAperturePositivePrompt);
        if (!v || unchanged(*v)) return false;
        StoreApertureValue(d, *v);
        return true;
    });
}

void MainWindow::ChooseImageFormat(int entry) {
    if (s_.design.beam.beamMode || entry < 0 || entry >= ImageFormatCount()) return;
    const auto pos = s_.design.paraxial.params.Find(engine::kImgHeight);
    if (entry > 0 && pos) {
        // An inverted real image: the height is negative. It is applied as the number itself,
        // not through the box's rounded text; the choice goes with the height into the backup.
        ApplyChange({kBackupTypedValue}, [&](app::DesignState& d) {
            d.window.imgHgtFixed = true;
            d.window.imgHgtOption = entry;
            CVarType& e = d.paraxial.params.Entry(*pos);
            const double height = -static_cast<double>(ImageFormatHeight(entry));
            if (e.bVarValDef && SameValue(e.sVarValue, static_cast<float>(height))) return false;
            engine::ExtendLimitsToValue(e, height, 1.0, d.paraxial.Margin());
            e.sVarValue = static_cast<float>(height);
            e.bVarValDef = true;
            return true;
        });
        return;
    }
    ApplyChange({kNoBackup, 0, false}, [&](app::DesignState& d) {
        d.window.imgHgtFixed = entry > 0;
        d.window.imgHgtOption = entry;
        return false;
    });
}

// --- Limits ---------------------------------------------------------------------------------

namespace {

// The comparison of a new limit with the other limit and the value; the message when it fails.
std::optional<const char*> LimitConflict(const CVarType& e, float limit, bool upper) {
    if (upper) {
        if (e.bLimLowDef && limit < e.sLimLow) {
            return text::TrNoop("Oberer Grenzwert muß größer als unterer Grenzwert sein!");
        }
        if (e.bVarValDef && limit < e.sVarValue) {
            return text::TrNoop("Oberer Grenzwert muß größer als aktueller Wert sein!");
        }
    } else {
        if (e.bLimHihDef && limit > e.sLimHih) {
            return text::TrNoop("Unterer Grenzwert muß kleiner als Oberer Grenzwert sein! ");
        }
        if (e.bVarValDef && limit > e.sVarValue) {
            return text::TrNoop("Unterer Grenzwert muß kleiner als aktueller Wert sein! ");
        }
    }
    return std::nullopt;
}

}  // namespace

bool MainWindow::CommitLimit(CVarType& e, std::optional<double> value, bool upper) {
    if (!value) return false;
    const float limit = static_cast<float>(*value);
    if (Refused(LimitConflict(e, limit, upper))) return false;
    bool& defined = upper ? e.bLimHihDef : e.bLimLowDef;
    float& stored = upper ? e.sLimHih : e.sLimLow;
    if (defined && SameValue(stored, limit)) return false;  // nothing to undo then
    defined = true;
    stored = limit;
    return true;
}

void MainWindow::ApplyUpperLimit(int slot, std::string_view text) {
    ApplyLimit(slot, text, true);
}
void MainWindow::ApplyLowerLimit(int slot, std::string_view text) {
    ApplyLimit(slot, text, false);
}

void MainWindow::ApplyLimit(int slot, std::string_view text, bool upper) {
    if (!s_.machine.IsIdle()) return;
    const app::DesignState& current = s_.design;
    const bool beamMode = current.beam.beamMode;
    const engine::Selection& set =
        beamMode ? current.beam.axes[0].selection : current.paraxial.params;
    if (slot < 0 || slot >= set.Count()) return;
    const int index = set.Index(slot + 1);
    if (!beamMode && index == engine::kObjDist && current.paraxial.options.objAtInfinity) return;
    if (text == LimitBoxText(s_, slot, upper)) return;
    const auto v = ParseQuantity(text, current.units,
                                 beamMode ? units::Group::GB : units::Group::Parax, index);
    if (!v) {
        // No number: the box keeps what was typed until the next update.
        RecordPending(ControlName(upper ? "txtVarLimHi" : "txtVarLimLow", slot), text);
        return;
    }
    ApplyChange(
        {beamMode ? kBackupBeamValue : kBackupTypedValue, 0, false}, [&](app::DesignState& d) {
            engine::Selection& sel = beamMode ? d.beam.axes[0].selection : d.paraxial.params;
            if (Refused(AngleRefusal(beamMode, index, *v))) return false;
            // The sign is settled before the comparisons, so a corrected limit is
            // checked as well.
            return CommitLimit(sel.Entry(slot + 1), RealObjectValue(index, *v, true), upper);
        });
}

void MainWindow::ApplyUpperLimitAp(std::string_view text) {
    ApplyApertureLimit(text, true);
}
void MainWindow::ApplyLowerLimitAp(std::string_view text) {
    ApplyApertureLimit(text, false);
}

void MainWindow::ApplyApertureLimit(std::string_view text, bool upper) {
    if (!s_.machine.IsIdle()) return;
    const app::DesignState& current = s_.design;
    if (current.beam.beamMode || current.paraxial.aperture.Count() == 0) return;
    if (text == ApertureLimitText(s_, upper)) return;
    const int index = current.paraxial.aperture.Index(1);
    const auto v = ParseQuantity(text, current.units, units::Group::ParaxAp, index);
    if (!v) {
        RecordPending(upper ? "txtVarLimHiAp_0" : "txtVarLimLowAp_0", text);
        return;
    }
    ApplyChange({kBackupTypedValue, 0, false}, [&](app::DesignState& d) {
        const char* prompt = upper ? kAperturePositiveUpperPrompt : kAperturePositivePrompt;
        return CommitLimit(d.paraxial.aperture.Entry(1), ApertureRuleValue(index, *v, prompt),
                           upper);
    });
}

// --- Sliders --------------------------------------------------------------------------------

void MainWindow::SetSliderFromValue(int slot) {
    const app::DesignState& d = s_.design;
    const bool beamMode = d.beam.beamMode;
    const engine::Selection& sel = beamMode ? d.beam.axes[0].selection : d.paraxial.params;
    if (slot < 0 || slot >= sel.Count()) return;
    const CVarType& e = sel.At(slot + 1);
    if (!e.bLimLowDef || !e.bLimHihDef) return;
    if (const auto p = PositionOfValue(e.sLimLow, e.sLimHih, e.sVarValue)) {
        (beamMode ? s_.beamSliderPos : s_.sliderPos)[static_cast<std::size_t>(slot)] = *p;
    }
}

void MainWindow::SetSliderFromValueAp() {
    const engine::Selection& sel = s_.design.paraxial.aperture;
    if (sel.Count() == 0) return;
    const CVarType& e = sel.At(1);
    if (!e.bLimLowDef || !e.bLimHihDef) return;
    if (const auto p = PositionOfValue(e.sLimLow, e.sLimHih, e.sVarValue)) s_.sliderPosAp = *p;
}

void MainWindow::ApplyPosition(int slot, int position) {
    const bool beamMode = s_.design.beam.beamMode;
    const engine::Selection& current =
        beamMode ? s_.design.beam.axes[0].selection : s_.design.paraxial.params;
    if (slot < 0 || slot >= current.Count()) return;
    const CVarType e = current.At(slot + 1);
    if (!e.bLimLowDef || !e.bLimHihDef) return;
    position = std::clamp(position, kSliderMin, kSliderMax);
    int& stored = (beamMode ? s_.beamSliderPos : s_.sliderPos)[static_cast<std::size_t>(slot)];
    // The scroll bar reports positions the window set itself: those change nothing.
    if (position == stored) return;
    ApplyChange(
        {kBackupSlider, (beamMode ? kBeamSliderIdBase : 0) + slot}, [&](app::DesignState& d) {
            const double value = ValueAtPosition(e.sLimLow, e.sLimHih, position);
            // Limits derived around a value near 90° may reach beyond: the slider stays.
            if (Refused(AngleRefusal(beamMode, e.nVarType, value))) return false;
            stored = position;
            if (beamMode) {
                StoreBeamValue(d, e.nVarType, value);
            } else {
                SetGeneralValue(d, d.paraxial.params.Entry(slot + 1), static_cast<float>(value));
            }
            return true;
        });
}

void MainWindow::ApplyPositionAp(int position) {
    const engine::Selection& current = s_.design.paraxial.aperture;
    if (s_.design.beam.beamMode || current.Count() == 0) return;
    const CVarType e = current.At(1);
    if (!e.bLimLowDef || !e.bLimHihDef) return;
    position = std::clamp(position, kSliderMin, kSliderMax);
    if (position == s_.sliderPosAp) return;
    ApplyChange({kBackupSlider, kApertureSliderId}, [&](app::DesignState& d) {
        s_.sliderPosAp = position;
        CVarType& entry = d.paraxial.aperture.Entry(1);
        entry.sVarValue = static_cast<float>(ValueAtPosition(e.sLimLow, e.sLimHih, position));
        entry.bVarValDef = true;
        return true;
    });
}

void MainWindow::MatchVarTypeTxtSliderAp() {
    engine::ParaxialDesign& p = s_.design.paraxial;
    if (p.aperture.Count() != 1) return;
    CVarType& e = p.aperture.Entry(1);
    engine::ExtendLimitsToValue(e, e.sVarValue, 1.0, p.Margin());
    KeepLimitsFinite(p.aperture);
    SetSliderFromValueAp();
    s_.pendingTexts.erase("txtVarTypeAp_0");
    s_.pendingTexts.erase("txtVarLimHiAp_0");
    s_.pendingTexts.erase("txtVarLimLowAp_0");
}

}  // namespace rs::ui
