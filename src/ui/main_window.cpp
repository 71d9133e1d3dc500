#include "ui/main_window.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "analysis/lens_ideas.h"
#include "app/presentation.h"
#include "app/settings.h"
#include "beam/beam_extras.h"
#include "beam/diode.h"
#include "beam/gaussian_beam.h"
#include "engine/continuity.h"
#include "text/number_text.h"
#include "text/strings.h"
#include "ui/image_formats.h"
#include "ui/view_model.h"
#include "units/typed_number.h"

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

// Why a value (internal units) for general parameter `index` is refused: a half-field angle stays
// within ±90°, as value, limit or slider position alike. Beam indices name other quantities.
std::optional<const char*> AngleRefusal(bool beamMode, int index, double value) {
    if (beamMode || !engine::IsFieldAngle(index) ||
        engine::FieldAngleInRange(static_cast<float>(value))) {
        return std::nullopt;
    }
    return index == engine::kObjAngle ? "Der Objektwinkel muss zwischen -90° und 90° liegen!"
                                      : "Der Bildwinkel muss zwischen -90° und 90° liegen!";
}

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

// The standard advanced values; a mirror's image space keeps its negative index.
void ResetAdvancedValues(app::DesignState& d) {
    engine::OptionState& o = d.paraxial.options;
    o.advanced = engine::AdvancedOptions{};
    if (o.mirrorMode) o.advanced.nImage = -1.0f;
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
    // Sliders follow their values, in both modes.
    auto follow = [](const engine::Selection& sel, std::array<int, kValueSlots>& positions) {
        for (int k = 0; k < kValueSlots && k < sel.Count(); ++k) {
            const CVarType& e = sel.At(k + 1);
            if (!e.bLimLowDef || !e.bLimHihDef) continue;
            if (auto p = PositionOfValue(e.sLimLow, e.sLimHih, e.sVarValue)) {
                positions[static_cast<std::size_t>(k)] = *p;
            }
        }
    };
    follow(d.paraxial.params, s_.sliderPos);
    follow(d.beam.axes[0].selection, s_.beamSliderPos);
    SetSliderFromValueAp();
    s_.results = app::ResultRows(d, s_.machine.IsDragging(), s_.resultCache, s_.beamCache);
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

bool MainWindow::Refused(std::optional<const char*> refusal) {
    if (!refusal) return false;
    dialogs_.Message(*refusal, Icon::Exclamation);
    return true;
}

bool MainWindow::Reported(const engine::SelectionStatus& status) {
    if (status.ok()) return false;
    dialogs_.Message(status.diagnostic, Icon::None);
    return true;
}

void MainWindow::ApplyChange(const Change& how,
                             const std::function<bool(app::DesignState&)>& change) {
    BusyScope busy(s_.machine);
    if (!busy) return;
    Snapshot before = Capture(s_.design);
    const bool changed = change(s_.design);
    if (changed) {
        if (how.backup != kNoBackup) {
            s_.backup.TakeBackupOf(how.backup, how.backupIndex, std::move(before));
        }
        s_.changePending = true;
    }
    if (how.relabel) {
        Refresh(changed && how.record);
    } else {
        Recalculate(changed && how.record);
    }
    FinishUpdate(how.apFieldClick ? changed || s_.apFldUndoEnabled : false);
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

// --- Start-up and shutdown ------------------------------------------------------------------

void MainWindow::Startup() {
    BusyScope busy(s_.machine);
    if (!busy) return;
    FlagScope loading(s_.loading);
    s_.design = app::DesignState{};
    ResetAdvancedValues(s_.design);
    settings_.Reload();
    // A file that is there but cannot be ours opens an empty design; the user must know why,
    // and that it will not be saved over.
    if (!settings_.ReadProblem().empty()) {
        dialogs_.Message(settings_.ReadProblem(), Icon::Exclamation);
    }
    // Without HOME and XDG_CONFIG_HOME the place is not where the user would look for it.
    if (const std::string note = app::SettingsLocationNote(settings_.Path()); !note.empty()) {
        dialogs_.Message(note, Icon::Information);
    }
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
    // The window's place is kept as a courtesy, never asked for: a file the user write-protected
    // to freeze the settings (or any other failure) leaves it as it was without a word. Only the
    // user's own save below reports a failure.
    if (placement) (void)StoreMainWindowPlacement(settings_, *placement);
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
    ApplyChange({kBackupSelection, 0, false}, [&](app::DesignState& d) {
        engine::ParaxialDesign& p = d.paraxial;
        if (d.beam.beamMode || index < 0 || index > engine::kImgAngle) return false;
        if (checked == p.params.Contains(index)) return false;
        // A fourth parameter: the box simply stays unchecked.
        if (checked && p.params.Full()) return false;
        if (Reported(checked ? p.AddParam(index) : p.params.Remove(index))) return false;
        if (checked) {
            // A combination that is not allowed takes the new parameter back out.
            if (auto message = engine::CheckCombination(p.params, index)) {
                dialogs_.Message(*message, Icon::Exclamation);
                return false;
            }
        }
        if (p.options.objAtInfinity && !p.params.Contains(engine::kObjDist)) {
            p.options.objAtInfinity = false;
        }
        return true;
    });
}

void MainWindow::SetApertureChecked(int index, bool checked) {
    ApplyChange({kBackupSelection, 0, false}, [&](app::DesignState& d) {
        engine::ParaxialDesign& p = d.paraxial;
        if (d.beam.beamMode || index < 0 || index > engine::kNAImage) return false;
        if (checked == p.aperture.Contains(index)) return false;
        // A second aperture box unchecks itself at once.
        if (checked && p.aperture.Full()) return false;
        return !Reported(checked ? p.AddAperture(index) : p.aperture.Remove(index));
    });
}

void MainWindow::SetBeamChecked(int index, bool checked) {
    ApplyChange({kBackupBeamSelection, 0, false}, [&](app::DesignState& d) {
        beam::BeamDesign& b = d.beam;
        if (!b.beamMode || !beam::IsSelectableBeamIndex(index)) return false;
        engine::Selection& sel = b.axes[0].selection;
        if (checked == sel.Contains(index)) return false;
        const engine::Selection previous = sel;
        const auto prefill = d.paraxial.continuity.PrefillBeam(0, index, d.paraxial.Margin());
        const beam::ToggleOutcome outcome = beam::ToggleBeamParam(b, index, checked, prefill);
        if (outcome.message) dialogs_.Message(*outcome.message, Icon::Exclamation);
        return !(sel == previous);
    });
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
        CVarType& e = sel.Entry(slot + 1);
        engine::ExtendLimitsToValue(e, *v, 1.0, d.paraxial.Margin());
        if (beamMode) {
            StoreBeamValue(d, old.nVarType, *v);
        } else if (fromImageFormat) {
            e.sVarValue = static_cast<float>(*v);
            e.bVarValDef = true;
        } else {
            SetGeneralValue(d, e, static_cast<float>(*v));
        }
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
        CVarType& e = sel.Entry(1);
        engine::ExtendLimitsToValue(e, *v, 1.0, d.paraxial.Margin());
        e.sVarValue = static_cast<float>(*v);
        e.bVarValDef = true;
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

void MainWindow::ApFieldParamsChng(double a, double angle) {
    ApplyChange({kBackupApField, 0, true, true, true}, [&](app::DesignState& d) {
        WindowState::ApFieldBackup before{d.paraxial.params, d.paraxial.aperture};
        if (!analysis::MoveToApertureField(d.paraxial, {a, angle})) return false;
        MatchVarTypeTxtSliderAp();
        s_.apFldBackup = std::move(before);
        return true;
    });
}

void MainWindow::ApFieldUndo() {
    if (!s_.apFldUndoEnabled || !s_.apFldBackup) return;
    ApplyChange({kBackupApField, 0, true, true}, [&](app::DesignState& d) {
        d.paraxial.params = s_.apFldBackup->params;
        d.paraxial.aperture = s_.apFldBackup->aperture;
        // The object at infinity is a property of a chosen object distance.
        if (!d.paraxial.params.Contains(engine::kObjDist)) d.paraxial.options.objAtInfinity = false;
        MatchVarTypeTxtSliderAp();
        d.paraxial.aperture = s_.apFldBackup->aperture;  // exactly: the click widened its limits
        SetSliderFromValueAp();
        s_.apFldBackup.reset();
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

// --- Advanced options and modes -------------------------------------------------------------

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
            refusal = "Die Wellenlänge muß zwischen 10^1 & 10^6nm liegen! ";
        } else if (box == 2 && !(*x >= 1.0 && *x <= 3.0)) {
            refusal = "Die Brechzahl im Bildraum muss zwischen 1.0 und 3.0 liegen!";
        } else if (box == 1 && !(*x >= 1.0 && *x <= 3.0)) {
            refusal = "Die Brechzahl im Objektraum muss zwischen 1.0 und 3.0 liegen!";
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

namespace {

// Sets a display switch; true when it changed.
bool Switch(bool& option, bool on) {
    if (option == on) return false;
    option = on;
    return true;
}

}  // namespace

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

void MainWindow::ReloadSymbols() {
    ApplyChange({kNoBackup, 0, false, true}, [&](app::DesignState& d) {
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

// --- Undo, clear, recall --------------------------------------------------------------------

void MainWindow::Undo() {
    ApplyChange({kNoBackup, 0, true, true},
                [this](app::DesignState& d) { return s_.backup.Undo(d); });
}

void MainWindow::Clear() {
    ApplyChange({kBackupClear, 0, false, true}, [](app::DesignState& d) {
        engine::ParaxialDesign& p = d.paraxial;
        p.params.Clear();
        p.aperture.Clear();
        p.options.objAtInfinity = false;
        ResetAdvancedValues(d);
        // The tables and the continuity store would otherwise bring the cleared system back, in
        // the list and in the next parameter chosen.
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
        return true;
    });
}

void MainWindow::Recall() {
    ApplyChange({kBackupSelection, 0, true, true}, [this](app::DesignState& d) {
        d.paraxial.params.Clear();
        d.paraxial.aperture.Clear();
        d.beam.axes[0].selection.Clear();
        settings_.Reload();
        app::LoadSettings(settings_, d);
        NormaliseImageFormat(d.window);
        return true;
    });
}

// --- Dialog results -------------------------------------------------------------------------

void MainWindow::ApplyUnits(const units::UnitState& chosen) {
    ApplyChange({kNoBackup, 0, false, true}, [&](app::DesignState& d) {
        d.units = chosen;
        for (const auto& [key, value] : units::SaveUnits(chosen)) {
            if (!SaveImmediate("Units", key, value)) break;  // one message is enough
        }
        return false;
    });
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

bool MainWindow::DragChange(std::optional<Snapshot>& before,
                            const std::function<bool(app::DesignState&)>& change,
                            const std::function<bool(const app::DesignState&)>& accept) {
    if (!s_.machine.IsDragging()) return false;
    // A step the solve refuses is taken back whole: the previous design, its solution and its
    // picture stay.
    std::optional<app::DesignState> prior;
    if (accept) prior = s_.design;
    if (!change(s_.design)) return false;
    Recalculate(true);
    if (prior && !accept(s_.design)) {
        s_.design = std::move(*prior);
        s_.results = app::ResultRows(s_.design, true, s_.resultCache, s_.beamCache);
        return false;
    }
    // The whole drag is one undo step: the state at mouse-down, stored on the first change.
    if (before) {
        s_.backup.TakeDragBackup(std::move(*before));
        before.reset();
    }
    s_.changePending = true;
    return true;
}

void MainWindow::EndDrag(const std::function<void(app::DesignState&)>& settle) {
    if (!s_.machine.IsDragging()) return;
    if (settle) settle(s_.design);
    s_.machine.Leave();
    Refresh(false);
    FinishUpdate(false);
}

}  // namespace rs::ui
