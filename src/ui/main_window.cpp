#include "ui/main_window.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "app/presentation.h"
#include "app/settings.h"
#include "beam/beam_extras.h"
#include "beam/diode.h"
#include "beam/gaussian_beam.h"
#include "engine/continuity.h"
#include "text/number_text.h"
#include "text/strings.h"
#include "ui/image_formats.h"
#include "units/typed_number.h"
#include "ui/view_model.h"

namespace rs::ui {

using engine::SameValue;
using units::ParsePlainNumber;
using units::ParseQuantity;
namespace {

using engine::CVarType;

constexpr const char* kObjDistTitle = "Entfernung Objekt-erste Linsenfläche";
constexpr const char* kObjDistPrompt =
    "Entsprechend der üblichen Vorzeichenkonvention ist der Abstand eines realen Objekts "
    "negativ! \n\n";
constexpr const char* kObjDistLimitPrompt =
    "Entsprechend der üblichen Vorzeichenkonvention ist der Abstand eines realen Objekts "
    "negativ. Deshalb muss der Grenzwert ebenfalls negativ sein! \n\n";
constexpr const char* kApertureTitle = "Aperturwerte";
constexpr const char* kFNumberPrompt = "Blendenzahl ist immer größer als 1! \n\n";
constexpr const char* kAperturePositivePrompt = "Aperturwerte müssen positiv sein!\n\n";
constexpr const char* kAperturePositiveUpperPrompt = " Aperturwerte müssen positiv sein!\n\n";
constexpr const char* kSavePrompt = "Möchten Sie diese Daten speichern?";

// Sets a flag for the length of one call.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

std::string NumberDefault(double displayValue) {
    return text::ShortestText(displayValue);
}

// The persisted image-format choice must name an entry of the list.
void NormaliseImageFormat(app::WindowOptions& w) {
    if (!w.imgHgtFixed || w.imgHgtOption <= 0 || w.imgHgtOption >= ImageFormatCount()) {
        w.imgHgtFixed = false;
        w.imgHgtOption = 0;
    }
}

// Limits of a value as the automatic rule derives them, from nothing.
void DeriveLimits(CVarType& e, double margin) {
    e.bLimLowDef = e.bLimHihDef = false;
    if (e.bVarValDef) engine::ExtendLimitsToValue(e, e.sVarValue, 1.0, margin);
}

// A margin around a value near the end of single precision overflows to infinity; a slider
// without limits is better than one that runs to infinity.
void KeepLimitsFinite(engine::Selection& set) {
    for (int k = 1; k <= set.Count(); ++k) {
        CVarType& e = set.Entry(k);
        if (!std::isfinite(e.sLimLow)) {
            e.sLimLow = 0.0f;
            e.bLimLowDef = false;
        }
        if (!std::isfinite(e.sLimHih)) {
            e.sLimHih = 0.0f;
            e.bLimHihDef = false;
        }
    }
}

// VB read any non-zero number as true; the marker is stored as "-1".
bool MarkerSet(const std::string& text) {
    if (app::ReadBool(text)) return true;
    const auto n = rs::text::ParseTypedNumber(text);
    return n && *n != 0.0;
}

}  // namespace

double ValueAtPosition(float lower, float upper, int position) {
    const int p = std::clamp(position, kSliderMin, kSliderMax);
    return static_cast<double>(lower) +
           (static_cast<double>(upper) - lower) * (p - kSliderMin) / (kSliderMax - kSliderMin);
}

std::optional<int> PositionOfValue(float lower, float upper, float value) {
    if (lower == upper) return std::nullopt;
    const double share =
        (static_cast<double>(value) - lower) / (static_cast<double>(upper) - lower);
    const double pos = kSliderMin + share * (kSliderMax - kSliderMin);
    if (!std::isfinite(pos)) return std::nullopt;
    return static_cast<int>(std::lround(std::clamp<double>(pos, kSliderMin, kSliderMax)));
}

MainWindow::MainWindow(Dialogs& dialogs, app::IniFile& settings)
    : dialogs_(dialogs), settings_(settings) {}

// --- Common machinery -----------------------------------------------------------------------

template <typename Acceptable>
std::optional<double> MainWindow::AskUntil(std::string_view title, std::string_view prompt,
                                           const std::string& defaultText, units::Group group,
                                           int slot, double factor, Acceptable acceptable) {
    // Repeats until the answer is acceptable; Cancel abandons the entry.
    for (;;) {
        const auto answer = dialogs_.Input(title, prompt, defaultText);
        if (!answer) return std::nullopt;
        const auto v = ParseQuantity(*answer, s_.design.units, group, slot);
        if (v && acceptable(*v / factor)) return v;
    }
}

void MainWindow::Recalculate(bool record) {
    app::DesignState& d = s_.design;
    KeepLimitsFinite(d.paraxial.params);
    KeepLimitsFinite(d.paraxial.aperture);
    KeepLimitsFinite(d.beam.axes[0].selection);
    app::SolveDesign(d, record);
    for (int k = 0; k < kValueSlots; ++k) {
        if (k < d.paraxial.params.Count()) {
            const CVarType& e = d.paraxial.params.At(k + 1);
            if (e.bLimLowDef && e.bLimHihDef) {
                if (auto p = PositionOfValue(e.sLimLow, e.sLimHih, e.sVarValue)) {
                    s_.sliderPos[static_cast<std::size_t>(k)] = *p;
                }
            }
        }
        const engine::Selection& b = d.beam.axes[0].selection;
        if (k < b.Count()) {
            const CVarType& e = b.At(k + 1);
            if (e.bLimLowDef && e.bLimHihDef) {
                if (auto p = PositionOfValue(e.sLimLow, e.sLimHih, e.sVarValue)) {
                    s_.beamSliderPos[static_cast<std::size_t>(k)] = *p;
                }
            }
        }
    }
    SetSliderFromValueAp();
    s_.results = app::ResultRows(d, s_.machine.IsDragging(), s_.resultCache, s_.beamCache);
}

void MainWindow::Update(bool record) {
    Recalculate(record);
    FinishUpdate(false);
}

void MainWindow::FinishUpdate(bool keep) {
    s_.apFldUndoEnabled = keep;
    s_.pendingTexts.clear();
}

void MainWindow::Refresh(bool record) {
    Recalculate(record);
    // Labels, symbols or the mode may have changed: the names are written anew.
    if (!s_.machine.IsDragging()) s_.results.rewriteNames = true;
}

void MainWindow::RefreshParaxial() {
    Refresh(false);
}
void MainWindow::RefreshBeam() {
    Refresh(false);
}

bool MainWindow::Reported(const engine::SelectionStatus& status) {
    if (status.ok()) return false;
    dialogs_.Message(status.diagnostic, Icon::None);
    return true;
}

void MainWindow::ApplyChange(int backupKind, const std::function<bool(app::DesignState&)>& change) {
    BusyScope busy(s_.machine);
    if (!busy) return;
    Snapshot before = Capture(s_.design);
    const bool changed = change(s_.design);
    if (changed) {
        if (backupKind != kNoBackup) s_.backup.TakeBackupOf(backupKind, 0, std::move(before));
        s_.changePending = true;
    }
    Refresh(changed);
    FinishUpdate(false);
}

void MainWindow::RecordPending(std::string name, std::string_view text) {
    s_.pendingTexts[std::move(name)] = std::string(text);
}

bool MainWindow::SaveImmediate(std::string_view section, std::string_view key,
                               std::string_view value) {
    const app::WriteStatus status = settings_.WriteIniString(section, key, value);
    if (!status.ok) dialogs_.Message(status.message, Icon::Exclamation);
    return status.ok;
}

void MainWindow::ResetAdvancedValues() {
    engine::OptionState& o = s_.design.paraxial.options;
    o.advanced = engine::AdvancedOptions{};
    if (o.mirrorMode) o.advanced.nImage = -1.0f;
}

// --- Start-up and shutdown ------------------------------------------------------------------

void MainWindow::Startup() {
    BusyScope busy(s_.machine);
    if (!busy) return;
    FlagScope loading(s_.loading);
    s_.design = app::DesignState{};
    ResetAdvancedValues();
    settings_.Reload();
    app::LoadSettings(settings_, s_.design);
    NormaliseImageFormat(s_.design.window);
    s_.started = true;
    Refresh(true);
    FinishUpdate(false);
}

bool MainWindow::TakeNewFeatureNote(app::UserSettingsStore& store) {
    if (MarkerSet(store.Get("NewFeature", "V22", ""))) return false;
    store.Save("NewFeature", "V22", "-1");
    return true;
}

CloseDecision MainWindow::RequestClose(const std::optional<WindowRect>& placement) {
    if (placement) {
        const app::WriteStatus status = StoreMainWindowPlacement(settings_, *placement);
        if (!status.ok) dialogs_.Message(status.message, Icon::Exclamation);
    }
    const app::DesignState& d = s_.design;
    const bool somethingToLose = d.paraxial.params.Count() > 0 || d.paraxial.aperture.Count() > 0 ||
                                 d.beam.axes[0].selection.Count() > 0 || s_.changePending;
    if (!somethingToLose) return CloseDecision::Close;
    switch (dialogs_.Question(kSavePrompt, Icon::Question)) {
        case Answer::Cancel:
            return CloseDecision::Stay;
        case Answer::No:
            return CloseDecision::Close;
        case Answer::Yes:
            break;
    }
    const app::WriteStatus status = app::SaveSettings(d, settings_);
    if (!status.ok) {
        // The design is still only in memory: the window must stay so nothing is lost.
        dialogs_.Message(status.message, Icon::Exclamation);
        return CloseDecision::Stay;
    }
    s_.changePending = false;
    return CloseDecision::Close;
}

// --- Parameter selection --------------------------------------------------------------------

void MainWindow::SetParamChecked(int index, bool checked) {
    BusyScope busy(s_.machine);
    if (!busy) return;
    engine::ParaxialDesign& p = s_.design.paraxial;
    if (s_.design.beam.beamMode || index < 0 || index > engine::kImgAngle) return;
    if (checked == p.params.Contains(index)) return;
    // A fourth parameter: the box simply stays unchecked.
    if (checked && p.params.Full()) return;
    const bool wasAtInfinity = p.options.objAtInfinity;
    Snapshot before = Capture(s_.design);
    if (Reported(checked ? p.AddParam(index) : p.params.Remove(index))) {
        FinishUpdate(false);
        return;
    }
    if (checked) {
        if (auto message = engine::CheckCombination(p.params, index)) {
            dialogs_.Message(*message, Icon::Exclamation);
            FinishUpdate(false);
            return;
        }
    }
    s_.backup.TakeBackupOf(kBackupSelection, 0, std::move(before));
    s_.changePending = true;
    if (wasAtInfinity && !p.params.Contains(engine::kObjDist)) p.options.objAtInfinity = false;
    Update(false);
}

void MainWindow::SetApertureChecked(int index, bool checked) {
    BusyScope busy(s_.machine);
    if (!busy) return;
    engine::ParaxialDesign& p = s_.design.paraxial;
    if (s_.design.beam.beamMode || index < 0 || index > engine::kNAImage) return;
    if (checked == p.aperture.Contains(index)) return;
    // A second aperture box unchecks itself at once.
    if (checked && p.aperture.Full()) return;
    Snapshot before = Capture(s_.design);
    if (Reported(checked ? p.AddAperture(index) : p.aperture.Remove(index))) {
        FinishUpdate(false);
        return;
    }
    s_.backup.TakeBackupOf(kBackupSelection, 0, std::move(before));
    s_.changePending = true;
    Update(false);
}

void MainWindow::SetBeamChecked(int index, bool checked) {
    BusyScope busy(s_.machine);
    if (!busy) return;
    beam::BeamDesign& b = s_.design.beam;
    if (!b.beamMode || index < 0 || index > beam::kGbImgRayleigh) return;
    engine::Selection& sel = b.axes[0].selection;
    if (checked == sel.Contains(index)) return;
    Snapshot before = Capture(s_.design);
    const auto prefill =
        s_.design.paraxial.continuity.PrefillBeam(0, index, s_.design.paraxial.Margin());
    const beam::ToggleOutcome outcome = beam::ToggleBeamParam(b, index, checked, prefill);
    if (outcome.message) dialogs_.Message(*outcome.message, Icon::Exclamation);
    if (!(sel == before.beam)) {
        s_.backup.TakeBackupOf(kBackupBeamSelection, 0, std::move(before));
        s_.changePending = true;
    }
    Update(false);
}

// --- Values ---------------------------------------------------------------------------------

std::optional<double> MainWindow::RealObjectValue(int index, double value, bool limit) {
    const app::DesignState& d = s_.design;
    if (d.beam.beamMode || index != engine::kObjDist || value <= 0 || d.window.positiveObj) {
        return value;
    }
    const double factor = d.units.UnitFactor(units::Group::Parax, index);
    return AskUntil(kObjDistTitle, limit ? kObjDistLimitPrompt : kObjDistPrompt,
                    NumberDefault(-value / factor), units::Group::Parax, index, factor,
                    [](double x) { return x < 0; });
}

std::optional<double> MainWindow::ApertureRuleValue(int index, double value,
                                                    const char* positivePrompt) {
    const double factor = s_.design.units.UnitFactor(units::Group::ParaxAp, index);
    const double x = value / factor;
    if (index == engine::kFNumber) {
        if (x >= 1) return value;
        return AskUntil(kApertureTitle, kFNumberPrompt, "1", units::Group::ParaxAp, index, factor,
                        [](double y) { return y >= 1; });
    }
    if (x >= 0) return value;
    return AskUntil(kApertureTitle, positivePrompt, "0", units::Group::ParaxAp, index, factor,
                    [](double y) { return y >= 0; });
}

void MainWindow::StoreBeamValue(int index, double value) {
    app::DesignState& d = s_.design;
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
    BusyScope busy(s_.machine);
    if (!busy) return;
    const app::DesignState& d = s_.design;
    const bool beamMode = d.beam.beamMode;
    const engine::Selection& sel = beamMode ? d.beam.axes[0].selection : d.paraxial.params;
    if (slot < 0 || slot >= sel.Count()) return;
    const int index = sel.Index(slot + 1);
    // The box of an object at infinity shows "In Unendlich" and takes nothing.
    if (!beamMode && index == engine::kObjDist && d.paraxial.options.objAtInfinity) return;
    // Leaving a box without editing it must not round the value to what the box shows.
    if (text == ValueBoxText(s_, slot)) return;
    const auto v =
        ParseQuantity(text, d.units, beamMode ? units::Group::GB : units::Group::Parax, index);
    if (!v) {
        FinishUpdate(false);  // the box shows the value again (or stays empty)
        return;
    }
    FlagScope typing(s_.enteringByTyping);
    ApplySlotValue(slot, *v, false);
}

void MainWindow::ApplySlotValue(int slot, double value, bool fromImageFormat) {
    app::DesignState& d = s_.design;
    const bool beamMode = d.beam.beamMode;
    engine::Selection& sel = beamMode ? d.beam.axes[0].selection : d.paraxial.params;
    const CVarType old = sel.At(slot + 1);
    auto unchanged = [&](double v) {
        return old.bVarValDef && SameValue(old.sVarValue, static_cast<float>(v));
    };
    std::optional<double> v = value;
    if (!unchanged(*v)) v = RealObjectValue(old.nVarType, *v, false);
    if (!v || unchanged(*v)) {
        Update(false);
        return;
    }
    s_.backup.TakeBackup(beamMode ? kBackupBeamValue : kBackupTypedValue, 0, d);
    s_.changePending = true;
    engine::ExtendLimitsToValue(sel.Entry(slot + 1), *v, 1.0, d.paraxial.Margin());
    if (beamMode) {
        StoreBeamValue(old.nVarType, *v);
    } else {
        CVarType& e = sel.Entry(slot + 1);
        e.sVarValue = static_cast<float>(*v);
        e.bVarValDef = true;
        if (old.nVarType == engine::kImgHeight && !fromImageFormat) {
            d.window.imgHgtFixed = false;
            d.window.imgHgtOption = 0;
        }
    }
    Update(true);
}

void MainWindow::ApplyApertureValue(std::string_view text) {
    BusyScope busy(s_.machine);
    if (!busy) return;
    app::DesignState& d = s_.design;
    engine::Selection& sel = d.paraxial.aperture;
    if (d.beam.beamMode || sel.Count() == 0 || text == ApertureValueText(s_)) return;
    const CVarType old = sel.At(1);
    auto unchanged = [&](double x) {
        return old.bVarValDef && SameValue(old.sVarValue, static_cast<float>(x));
    };
    auto v = ParseQuantity(text, d.units, units::Group::ParaxAp, old.nVarType);
    if (v && !unchanged(*v)) v = ApertureRuleValue(old.nVarType, *v, kAperturePositivePrompt);
    if (!v || unchanged(*v)) {
        Update(false);
        return;
    }
    s_.backup.TakeBackup(kBackupTypedValue, 0, d);
    s_.changePending = true;
    CVarType& e = sel.Entry(1);
    engine::ExtendLimitsToValue(e, *v, 1.0, d.paraxial.Margin());
    e.sVarValue = static_cast<float>(*v);
    e.bVarValDef = true;
    Update(true);
}

void MainWindow::ChooseImageFormat(int entry) {
    BusyScope busy(s_.machine);
    if (!busy) return;
    app::DesignState& d = s_.design;
    if (d.beam.beamMode || entry < 0 || entry >= ImageFormatCount()) return;
    d.window.imgHgtFixed = entry > 0;
    d.window.imgHgtOption = entry;
    if (d.window.imgHgtFixed) {
        if (const auto pos = d.paraxial.params.Find(engine::kImgHeight)) {
            // An inverted real image: the height is negative. It is applied as the number
            // itself, not through the box's rounded text.
            ApplySlotValue(*pos - 1, -static_cast<double>(ImageFormatHeight(entry)), true);
            return;
        }
    }
    Update(false);
}

// --- Limits ---------------------------------------------------------------------------------

namespace {

// The comparison of a new limit with the other limit and the value; the message when it fails.
std::optional<const char*> LimitConflict(const CVarType& e, float limit, bool upper) {
    if (upper) {
        if (e.bLimLowDef && limit < e.sLimLow) {
            return "Oberer Grenzwert muß größer als unterer Grenzwert sein!";
        }
        if (e.bVarValDef && limit < e.sVarValue) {
            return "Oberer Grenzwert muß größer als aktueller Wert sein!";
        }
    } else {
        if (e.bLimHihDef && limit > e.sLimHih) {
            return "Unterer Grenzwert muß kleiner als Oberer Grenzwert sein! ";
        }
        if (e.bVarValDef && limit > e.sVarValue) {
            return "Unterer Grenzwert muß kleiner als aktueller Wert sein! ";
        }
    }
    return std::nullopt;
}

}  // namespace

void MainWindow::CommitLimit(CVarType& e, double value, bool upper, int kind) {
    const float limit = static_cast<float>(value);
    if (const auto conflict = LimitConflict(e, limit, upper)) {
        dialogs_.Message(*conflict, Icon::Exclamation);
        return;
    }
    bool& defined = upper ? e.bLimHihDef : e.bLimLowDef;
    float& stored = upper ? e.sLimHih : e.sLimLow;
    if (defined && SameValue(stored, limit)) return;  // nothing to undo then
    s_.backup.TakeBackup(kind, 0, s_.design);
    s_.changePending = true;
    defined = true;
    stored = limit;
}

void MainWindow::ApplyUpperLimit(int slot, std::string_view text) {
    ApplyLimit(slot, text, true);
}
void MainWindow::ApplyLowerLimit(int slot, std::string_view text) {
    ApplyLimit(slot, text, false);
}

void MainWindow::ApplyLimit(int slot, std::string_view text, bool upper) {
    if (!s_.machine.IsIdle()) return;
    app::DesignState& d = s_.design;
    const bool beamMode = d.beam.beamMode;
    engine::Selection& sel = beamMode ? d.beam.axes[0].selection : d.paraxial.params;
    if (slot < 0 || slot >= sel.Count()) return;
    const int index = sel.Index(slot + 1);
    if (!beamMode && index == engine::kObjDist && d.paraxial.options.objAtInfinity) return;
    if (text == LimitBoxText(s_, slot, upper)) return;
    auto v = ParseQuantity(text, d.units, beamMode ? units::Group::GB : units::Group::Parax, index);
    if (!v) {
        // No number: the box keeps what was typed until the next update.
        RecordPending(ControlName(upper ? "txtVarLimHi" : "txtVarLimLow", slot), text);
        return;
    }
    BusyScope busy(s_.machine);
    // The sign is settled before the comparisons, so a corrected limit is checked as well.
    v = RealObjectValue(index, *v, true);
    if (v)
        CommitLimit(sel.Entry(slot + 1), *v, upper,
                    beamMode ? kBackupBeamValue : kBackupTypedValue);
    Update(false);
}

void MainWindow::ApplyUpperLimitAp(std::string_view text) {
    ApplyApertureLimit(text, true);
}
void MainWindow::ApplyLowerLimitAp(std::string_view text) {
    ApplyApertureLimit(text, false);
}

void MainWindow::ApplyApertureLimit(std::string_view text, bool upper) {
    if (!s_.machine.IsIdle()) return;
    app::DesignState& d = s_.design;
    engine::Selection& sel = d.paraxial.aperture;
    if (d.beam.beamMode || sel.Count() == 0) return;
    if (text == ApertureLimitText(s_, upper)) return;
    const int index = sel.Index(1);
    auto v = ParseQuantity(text, d.units, units::Group::ParaxAp, index);
    if (!v) {
        RecordPending(upper ? "txtVarLimHiAp_0" : "txtVarLimLowAp_0", text);
        return;
    }
    BusyScope busy(s_.machine);
    v = ApertureRuleValue(index, *v,
                          upper ? kAperturePositiveUpperPrompt : kAperturePositivePrompt);
    if (v) CommitLimit(sel.Entry(1), *v, upper, kBackupTypedValue);
    Update(false);
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
    BusyScope busy(s_.machine);
    if (!busy) return;
    app::DesignState& d = s_.design;
    const bool beamMode = d.beam.beamMode;
    engine::Selection& sel = beamMode ? d.beam.axes[0].selection : d.paraxial.params;
    if (slot < 0 || slot >= sel.Count()) return;
    const CVarType e = sel.At(slot + 1);
    if (!e.bLimLowDef || !e.bLimHihDef) return;
    position = std::clamp(position, kSliderMin, kSliderMax);
    int& stored = (beamMode ? s_.beamSliderPos : s_.sliderPos)[static_cast<std::size_t>(slot)];
    // The scroll bar reports positions the window set itself: those change nothing.
    if (position == stored) return;
    const double value = ValueAtPosition(e.sLimLow, e.sLimHih, position);
    s_.backup.TakeBackup(kBackupSlider, (beamMode ? kBeamSliderIdBase : 0) + slot, d);
    s_.changePending = true;
    stored = position;
    if (beamMode) {
        StoreBeamValue(e.nVarType, value);
    } else {
        CVarType& entry = sel.Entry(slot + 1);
        entry.sVarValue = static_cast<float>(value);
        entry.bVarValDef = true;
        if (e.nVarType == engine::kImgHeight) {
            d.window.imgHgtFixed = false;
            d.window.imgHgtOption = 0;
        }
    }
    Update(true);
}

void MainWindow::ApplyPositionAp(int position) {
    BusyScope busy(s_.machine);
    if (!busy) return;
    app::DesignState& d = s_.design;
    engine::Selection& sel = d.paraxial.aperture;
    if (d.beam.beamMode || sel.Count() == 0) return;
    CVarType& e = sel.Entry(1);
    if (!e.bLimLowDef || !e.bLimHihDef) return;
    position = std::clamp(position, kSliderMin, kSliderMax);
    if (position == s_.sliderPosAp) return;
    const double value = ValueAtPosition(e.sLimLow, e.sLimHih, position);
    s_.backup.TakeBackup(kBackupSlider, kApertureSliderId, d);
    s_.changePending = true;
    s_.sliderPosAp = position;
    e.sVarValue = static_cast<float>(value);
    e.bVarValDef = true;
    Update(true);
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

// --- Advanced options and modes -------------------------------------------------------------

void MainWindow::SetAdvancedOptions(bool on) {
    BusyScope busy(s_.machine);
    if (!busy) return;
    engine::OptionState& o = s_.design.paraxial.options;
    if (o.advOptions == on) return;
    o.advOptions = on;
    s_.changePending = true;
    Update(true);
}

void MainWindow::ApplyAdvancedValue(int box, std::string_view text) {
    if (!s_.machine.IsIdle()) return;
    engine::OptionState& o = s_.design.paraxial.options;
    if (box < 0 || box > 3 || !AdvancedBoxEnabled(s_, box)) return;
    if (text == AdvancedBoxText(s_, box)) return;
    const auto x = ParsePlainNumber(text, box == 3 ? "nm" : box == 0 ? "mm" : "");
    if (!x) {
        RecordPending(ControlName("txtAdv", box), text);
        return;
    }
    BusyScope busy(s_.machine);
    const double current = box == 0   ? o.PrincipalPlaneSeparation()
                           : box == 1 ? o.ObjectIndex()
                           : box == 2 ? o.ImageIndex()
                                      : o.TestWavelength();
    if (SameValue(current, static_cast<float>(*x))) {
        Update(false);
        return;
    }
    const char* refusal = nullptr;
    if (box == 3 && !(*x >= 10 && *x <= 1e6)) {
        refusal = "Die Wellenlänge muß zwischen 10^1 & 10^6nm liegen! ";
    } else if (box == 2 && !(*x >= 1.0 && *x <= 3.0)) {
        refusal = "Die Brechzahl im Bildraum muss zwischen 1.0 und 3.0 liegen!";
    } else if (box == 1 && !(*x >= 1.0 && *x <= 3.0)) {
        refusal = "Die Brechzahl im Objektraum muss zwischen 1.0 und 3.0 liegen!";
    }
    if (refusal) {
        dialogs_.Message(refusal, Icon::Exclamation);
        FinishUpdate(false);
        return;
    }
    s_.backup.TakeBackup(kBackupAdvanced, 0, s_.design);
    s_.changePending = true;
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
    Update(true);
}

void MainWindow::DefaultAdvancedValues() {
    BusyScope busy(s_.machine);
    if (!busy) return;
    engine::OptionState& o = s_.design.paraxial.options;
    engine::AdvancedOptions standard;
    if (o.mirrorMode) standard.nImage = -1.0f;
    if (o.advanced != standard) {
        s_.backup.TakeBackup(kBackupAdvanced, 0, s_.design);
        s_.changePending = true;
        o.advanced = standard;
    }
    Update(true);
}

void MainWindow::ChooseMirrorMode(int entry) {
    BusyScope busy(s_.machine);
    if (!busy) return;
    engine::ParaxialDesign& p = s_.design.paraxial;
    engine::OptionState& o = p.options;
    if (entry != 0 && entry != 1) return;
    const bool mirror = entry == 1;
    if (mirror == o.mirrorMode) return;
    s_.backup.TakeBackup(kBackupMirror, 0, s_.design);
    s_.changePending = true;
    o.mirrorMode = mirror;
    // A mirror reflects the light back: its image space has a negative index.
    o.advanced.nImage = mirror ? -std::fabs(o.advanced.nImage) : std::fabs(o.advanced.nImage);
    // A converging lens and a converging (concave) mirror have focal lengths of opposite signs.
    if (const auto pos = p.params.Find(engine::kFocal)) {
        CVarType& e = p.params.Entry(*pos);
        e.sVarValue = -e.sVarValue;
        const CVarType old = e;
        e.sLimHih = -old.sLimLow;
        e.bLimHihDef = old.bLimLowDef;
        e.sLimLow = -old.sLimHih;
        e.bLimLowDef = old.bLimHihDef;
    }
    Refresh(true);
    FinishUpdate(false);
}

void MainWindow::SetPositiveObjectAllowed(bool allowed) {
    BusyScope busy(s_.machine);
    if (!busy) return;
    app::DesignState& d = s_.design;
    if (d.window.positiveObj == allowed) return;
    s_.backup.TakeBackup(kBackupPositiveObj, 0, d);
    s_.changePending = true;
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
    Update(true);
}

void MainWindow::SetObjectAtInfinity(bool on) {
    BusyScope busy(s_.machine);
    if (!busy) return;
    engine::ParaxialDesign& p = s_.design.paraxial;
    if (s_.design.beam.beamMode || p.options.objAtInfinity == on) return;
    const auto pos = p.params.Find(engine::kObjDist);
    // Only a chosen object distance can be put at infinity.
    if (on && !pos) return;
    s_.backup.TakeBackup(kBackupObjAtInfinity, 0, s_.design);
    s_.changePending = true;
    if (pos) {
        CVarType& e = p.params.Entry(*pos);
        e.sVarValue = on ? engine::kInfinity : 0.0f;
        e.bVarValDef = on;
        e.bLimLowDef = e.bLimHihDef = false;
    }
    p.options.objAtInfinity = on;
    // An object at infinity is described by its field angle, not by its height.
    if (on && p.params.Contains(engine::kObjHeight)) p.params.Remove(engine::kObjHeight);
    Update(true);
}

void MainWindow::SetHideRemoteConjugates(bool on) {
    BusyScope busy(s_.machine);
    if (!busy) return;
    if (s_.design.window.hideRemConj != on) s_.changePending = true;
    s_.design.window.hideRemConj = on;
    Update(false);
}

void MainWindow::SetDrawPoints(bool on) {
    BusyScope busy(s_.machine);
    if (!busy) return;
    if (s_.design.window.drawPoints != on) s_.changePending = true;
    s_.design.window.drawPoints = on;
    Update(false);
}

void MainWindow::SetListOption(int entry, bool checked) {
    BusyScope busy(s_.machine);
    if (!busy) return;
    app::DesignState& d = s_.design;
    if (entry == 0 && d.window.drawHaltingRay != checked) {
        s_.backup.TakeBackup(kBackupConstructionRays, 0, d);
        s_.changePending = true;
        d.window.drawHaltingRay = checked;
    } else if (entry == 1 && d.dof.showExtra != checked) {
        s_.changePending = true;
        d.dof.showExtra = checked;
    }
    Update(false);
}

void MainWindow::ChooseSymbolSet(int entry) {
    BusyScope busy(s_.machine);
    if (!busy) return;
    if (entry != 0 && entry != 1) return;
    s_.design.window.unitType = entry;
    SaveImmediate("Options", "UnitType", std::to_string(entry));
    ReloadSymbolsNow();
    FinishUpdate(false);
}

void MainWindow::ReloadSymbols() {
    BusyScope busy(s_.machine);
    if (!busy) return;
    ReloadSymbolsNow();
    FinishUpdate(false);
}

void MainWindow::ReloadSymbolsNow() {
    app::DesignState& d = s_.design;
    const int mode = d.window.unitType == 1 ? 1 : 0;
    const engine::SymbolLookup lookup = app::SymbolsFrom(settings_);
    d.paraxial.symbols.InitParamSymbols(mode, lookup);
    d.paraxial.symbols.InitCardinalSymbols(mode, lookup);
    d.beam.symbols.Init(mode, app::SymbolsFrom(settings_, "SymbolsGB"));
    RefreshParaxial();
}

void MainWindow::SetBeamMode(bool on) {
    BusyScope busy(s_.machine);
    if (!busy) return;
    if (s_.design.beam.beamMode == on) return;
    s_.design.beam.beamMode = on;
    s_.changePending = true;
    RefreshParaxial();
    FinishUpdate(false);
}

void MainWindow::SetBeamExtrasShown(bool on) {
    BusyScope busy(s_.machine);
    if (!busy) return;
    if (s_.design.beam.extrasOptions.showExtra != on) s_.changePending = true;
    s_.design.beam.extrasOptions.showExtra = on;
    Update(false);
}

void MainWindow::ApplyBeamWavelength(std::string_view text) {
    BusyScope busy(s_.machine);
    if (!busy) return;
    app::DesignState& d = s_.design;
    if (!d.beam.beamMode || text == beam::WavelengthText(d.beam)) return;
    const auto nm = ParsePlainNumber(text, "nm");
    Snapshot before = Capture(d);
    if (nm && beam::SetWavelength(d.beam, *nm) == beam::EditResult::Accepted) {
        s_.backup.TakeBackupOf(kBackupBeamValue, 0, std::move(before));
        s_.changePending = true;
        Update(true);
        return;
    }
    FinishUpdate(false);
}

void MainWindow::ToggleAltSolution() {
    BusyScope busy(s_.machine);
    if (!busy) return;
    beam::BeamDesign& b = s_.design.beam;
    if (!beam::AltSolutionAvailable(b)) return;
    b.altSolution = !b.altSolution;
    s_.changePending = true;
    Update(true);
}

// --- Undo, clear, recall --------------------------------------------------------------------

void MainWindow::Undo() {
    BusyScope busy(s_.machine);
    if (!busy) return;
    if (!s_.backup.Undo(s_.design)) return;
    s_.changePending = true;
    Refresh(true);
    FinishUpdate(false);
}

void MainWindow::Clear() {
    BusyScope busy(s_.machine);
    if (!busy) return;
    app::DesignState& d = s_.design;
    s_.changePending = true;
    s_.backup.TakeBackup(kBackupClear, 0, d);

    engine::ParaxialDesign& p = d.paraxial;
    p.params.Clear();
    p.aperture.Clear();
    p.options.objAtInfinity = false;
    ResetAdvancedValues();
    // The tables and the continuity store would otherwise bring the cleared system back, in the
    // list and in the next parameter chosen.
    p.paramTable.Clear();
    p.apertureTable.Clear();
    p.cardinal = {};
    p.mtfCutOff = 0.0f;
    p.bCalcInvalid = false;
    p.bApertureUndefined = true;
    p.continuity.Clear();

    const bool showDof = d.dof.showExtra;
    d.dof = analysis::DofOptions{};
    d.dof.showExtra = showDof;
    d.dofResults = analysis::DofResults{};

    beam::BeamDesign& b = d.beam;
    for (beam::BeamAxis& axis : b.axes) axis = beam::BeamAxis{};
    const bool showBeamExtras = b.extrasOptions.showExtra;
    b.extrasOptions = beam::BeamExtrasOptions{};
    b.extrasOptions.showExtra = showBeamExtras;
    b.SetWavelengthNm(beam::kDefaultBeamWavelength);
    b.diode.diodeMode = false;
    b.diode.circularise = false;
    RefreshParaxial();
    FinishUpdate(false);
}

void MainWindow::Recall() {
    BusyScope busy(s_.machine);
    if (!busy) return;
    app::DesignState& d = s_.design;
    s_.backup.TakeBackup(kBackupSelection, 0, d);
    s_.changePending = true;
    d.paraxial.params.Clear();
    d.paraxial.aperture.Clear();
    d.beam.axes[0].selection.Clear();
    settings_.Reload();
    app::LoadSettings(settings_, d);
    NormaliseImageFormat(d.window);
    Refresh(true);
    FinishUpdate(false);
}

// --- Dialog results -------------------------------------------------------------------------

void MainWindow::ApplyUnits(const units::UnitState& chosen) {
    BusyScope busy(s_.machine);
    if (!busy) return;
    s_.design.units = chosen;
    for (const auto& [key, value] : units::SaveUnits(chosen)) {
        if (!SaveImmediate("Units", key, value)) break;  // one message is enough
    }
    RefreshParaxial();
    FinishUpdate(false);
}

// --- Printing -------------------------------------------------------------------------------

std::optional<engine::ReportPage> MainWindow::PrintPage(std::string_view dateText) {
    BusyScope busy(s_.machine);
    if (!busy) return std::nullopt;
    engine::ReportResult report = app::BuildReport(s_.design, dateText);
    if (report.refusal) {
        dialogs_.Message(*report.refusal, Icon::Exclamation);
        return std::nullopt;
    }
    return std::move(report.page);
}

// --- Dragging -------------------------------------------------------------------------------

bool MainWindow::BeginDrag() {
    return s_.machine.TryEnter(Busy::Dragging);
}

void MainWindow::DragStep() {
    if (!s_.machine.IsDragging()) return;
    s_.changePending = true;
    Recalculate(true);
}

void MainWindow::EndDrag() {
    if (!s_.machine.IsDragging()) return;
    s_.machine.Leave();
    RefreshParaxial();
    FinishUpdate(false);
}

}  // namespace rs::ui
