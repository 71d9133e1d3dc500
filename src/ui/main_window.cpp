#include "ui/main_window.h"

// The change path that every handler takes, start-up and closing. The handlers themselves live
// beside this file by concern (main_window_selection.cpp, main_window_values.cpp, ...).
#include <cmath>
#include <utility>

#include "app/presentation.h"
#include "app/settings.h"
#include "text/number_text.h"
#include "text/tr.h"
#include "ui/image_formats.h"
#include "ui/main_window_internal.h"
#include "ui/reference.h"

namespace rs::ui {

namespace window_detail {

void NormaliseImageFormat(app::WindowOptions& w) {
    if (!w.imgHgtFixed || w.imgHgtOption <= 0 || w.imgHgtOption >= ImageFormatCount()) {
        w.imgHgtFixed = false;
        w.imgHgtOption = 0;
    }
}

void KeepLimitsFinite(engine::Selection& set) {
    for (int k = 1; k <= set.Count(); ++k) {
        engine::CVarType& e = set.Entry(k);
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

}  // namespace window_detail

namespace {

using engine::CVarType;
using window_detail::FlagScope;
using window_detail::KeepLimitsFinite;
using window_detail::NormaliseImageFormat;
using window_detail::ResetAdvancedValues;

constexpr const char* kPlotClickStep = text::TrNoop("Öffnung/Feld aus dem Diagramm");
constexpr const char* kSavePrompt = text::TrNoop("Möchten Sie diese Daten speichern?");

// VB read any non-zero number as true; the marker is stored as "-1".
bool MarkerSet(const std::string& text) {
    if (app::ReadBool(text)) return true;
    const auto n = rs::text::ParseTypedNumber(text);
    return n && *n != 0.0;
}

}  // namespace

MainWindow::MainWindow(Dialogs& dialogs, app::IniFile& settings)
    : dialogs_(dialogs), settings_(settings) {}

// --- Common machinery -----------------------------------------------------------------------

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
    s_.referenceShown.reset();
    s_.referenceResults.reset();
    if (s_.reference && SameMode(*s_.reference, d)) {
        s_.referenceShown = ReferenceAsShown(d, *s_.reference);
        s_.referenceResults = ReferenceRows(*s_.referenceShown);
    }
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
    dialogs_.Message(text::Tr(*refusal), Icon::Exclamation);
    return true;
}

void MainWindow::ApplyChange(const Change& how,
                             const std::function<bool(app::DesignState&)>& change) {
    BusyScope busy(s_.machine);
    if (!busy) return;
    const Snapshot before = Capture(s_.design);
    const bool changed = change(s_.design);
    if (changed) {
        const bool stored =
            how.backup != kNoBackup && s_.backup.TakeBackupOf(how.backup, how.backupIndex, before);
        // Every step that takes a backup is a step of the history; walking it is none.
        if (!how.step.empty() || (how.backup != kNoBackup && how.backup != kBackupHistory)) {
            std::string name = how.step;
            if (how.apFieldClick)
                name = MovedStepName(s_, text::Tr(kPlotClickStep), before, Capture(s_.design));
            RecordStep(before, std::move(name), !stored && how.backup == kBackupSlider);
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

void MainWindow::RecordStep(const Snapshot& before, std::string name, bool continues) {
    Snapshot after = Capture(s_.design);
    History& h = s_.history;
    if (continues && h.AtNewestStep()) {
        if (name.empty()) name = StepName(s_, h.BeforeNewest(), after);
        h.ReplaceNewest(std::move(name), std::move(after));
        return;
    }
    if (name.empty()) name = StepName(s_, before, after);
    h.Record(std::move(name), before, std::move(after));
}

void MainWindow::RecordPending(std::string name, std::string_view text) {
    s_.pendingTexts[std::move(name)] = std::string(text);
}

bool MainWindow::SaveImmediate(std::string_view section, std::string_view key,
                               std::string_view value) {
    const app::WriteStatus status = settings_.WriteIniString(section, key, value);
    if (!status.ok) dialogs_.Message(text::Tr(status.message), Icon::Exclamation);
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
        dialogs_.Message(text::Tr(settings_.ReadProblem()), Icon::Exclamation);
    }
    // Without HOME and XDG_CONFIG_HOME the place is not where the user would look for it.
    if (const std::string note = app::SettingsLocationNote(settings_.Path()); !note.empty()) {
        dialogs_.Message(text::Tr(note), Icon::Information);
    }
    app::LoadSettings(settings_, s_.design);
    NormaliseImageFormat(s_.design.window);
    s_.reference = app::LoadReference(settings_);
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
    switch (dialogs_.Question(text::Tr(kSavePrompt), Icon::Question)) {
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
        dialogs_.Message(text::Tr(status.message), Icon::Exclamation);
        return CloseDecision::Stay;
    }
    s_.changePending = false;
    return CloseDecision::Close;
}

}  // namespace rs::ui
