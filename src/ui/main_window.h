#pragma once
// The main window's logic without a toolkit. A widget event calls one operation here and the
// window then re-renders from the state (see view_model.h). Every operation that changes data
// runs only while the window is idle, takes its undo backup and a step of the history, works,
// runs the common update tail and returns to idle; a call while busy (or while a drawing is being
// dragged) does nothing.
//
// Value boxes, limit boxes and sliders are addressed by slot 0..2: the k-th chosen general
// parameter in the paraxial mode, the k-th chosen beam parameter in the beam mode.
//
// The change path, start-up and closing are in main_window.cpp; every other section of the class
// is in a file by concern beside it (main_window_selection.cpp, main_window_values.cpp, ...).
#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "analysis/catalogue_lenses.h"
#include "app/ini_file.h"
#include "app/user_settings_store.h"
#include "engine/report.h"
#include "ui/data_backup.h"
#include "ui/dialogs.h"
#include "ui/history.h"
#include "ui/placement.h"
#include "ui/window_state.h"

namespace rs::ui {

enum class CloseDecision { Close, Stay };
struct ChoiceOutcome;

class MainWindow {
public:
    // `settings` is the settings file the window loads at start-up, reloads on recall and saves
    // on request; both ports must outlive the window.
    MainWindow(Dialogs& dialogs, app::IniFile& settings);

    const WindowState& State() const { return s_; }

    // Every handler that changes data is one ApplyChange: it runs only from idle (busy while
    // it runs); `change` reports whether it changed the design (false: nothing changed, or the
    // user cancelled or was refused). A change takes an undo backup of `backup` with the state
    // from before the call and marks the design as changed; then the design is solved and
    // listed, and the handler's pending box texts are dropped. `change` may call
    // MatchVarTypeTxtSliderAp.
    static constexpr int kNoBackup = -1;
    struct Change {
        int backup = kNoBackup;
        int backupIndex = 0;   // which slider, so that a run of one slider is one undo step
        bool record = true;    // a changed design's solve is recorded in the continuity store
        bool relabel = false;  // labels, symbols or the mode may change: names written anew
        // A click into the aperture/field plot: when it changed the design, the plot's own undo
        // button is enabled; when not, it stays as it was (every other change disables it).
        bool apFieldClick = false;
        // The history's name of the step; empty: named after what it changed. A change with a
        // name is a step even without a backup (the undo button's exchange).
        std::string step{};
    };
    void ApplyChange(const Change& how, const std::function<bool(app::DesignState&)>& change);

    // --- Start-up and shutdown -------------------------------------------------------------

    // Loads the last design and options from the settings file and solves it once.
    void Startup();
    // First activation: true when the new-features help is due; marks it as shown.
    static bool TakeNewFeatureNote(app::UserSettingsStore& store);
    // Closing by the title bar or "&Ende": stores the placement, asks whether to save when
    // there is something to lose, saves on Yes. A save that fails is reported and keeps the
    // window open.
    CloseDecision RequestClose(const std::optional<WindowRect>& placement);

    // --- Parameter selection ---------------------------------------------------------------

    void SetParamChecked(int index, bool checked);     // chkVarType(index), 0..8
    void SetApertureChecked(int index, bool checked);  // chkVarTypeAp(index), 0..3
    void SetBeamChecked(int index, bool checked);      // chkVarTypeGB(index), 0..10

    // --- Values, limits, sliders -----------------------------------------------------------

    void ApplyTypedValue(int slot, std::string_view text);  // txtVarType(slot)
    void ApplyApertureValue(std::string_view text);         // txtVarTypeAp(0)
    void ApplyUpperLimit(int slot, std::string_view text);  // txtVarLimHi(slot)
    void ApplyLowerLimit(int slot, std::string_view text);  // txtVarLimLow(slot)
    void ApplyUpperLimitAp(std::string_view text);          // txtVarLimHiAp(0)
    void ApplyLowerLimitAp(std::string_view text);          // txtVarLimLowAp(0)
    void ApplyPosition(int slot, int position);             // hscVarValue(slot)
    void ApplyPositionAp(int position);                     // hscVarValueAp(0)
    void ChooseImageFormat(int entry);                      // cmbImagHeight
    // Moves slider `slot` to its parameter's value (when both limits are set and differ).
    void SetSliderFromValue(int slot);
    void SetSliderFromValueAp();
    // After the aperture value was changed from outside (the aperture/field plot): limits
    // around it, boxes and slider follow. Runs inside the caller's handler.
    void MatchVarTypeTxtSliderAp();

    // --- Advanced options and modes --------------------------------------------------------

    void SetAdvancedOptions(bool on);                         // chkAdvOpt
    void ApplyAdvancedValue(int box, std::string_view text);  // txtAdv(box), 0..3
    void DefaultAdvancedValues();                             // comDefAdvOpts "Standard"
    void ChooseMirrorMode(int entry);                         // lstMirrorMode: 0 lens, 1 mirror
    void SetPositiveObjectAllowed(bool allowed);              // chkAllowVirtualObj
    void SetObjectAtInfinity(bool on);                        // chkObjAtInfinity
    void SetHideRemoteConjugates(bool on);                    // chkHideRemoteConjug
    void SetDrawPoints(bool on);                              // chkDrawParaxPoints
    void SetListOption(int entry, bool checked);      // lstOptions: 0 construction rays, 1 extras
    void ChooseSymbolSet(int entry);                  // lstSymbols: 0 standard, 1 the user's
    void SetBeamMode(bool on);                        // chkGaussBeamMode
    void SetBeamExtrasShown(bool on);                 // lstOptionsGB
    void ApplyBeamWavelength(std::string_view text);  // txtGBWavelen
    void ToggleAltSolution();                         // chkGaussBeamAltSolution

    // --- Aperture/field plot ------------------------------------------------------------------

    // A click into a plot at aperture A = 1/(2·N∞) and half field `angle` (degrees): moves the
    // design there when the last solve is valid, the choice is complete with an aperture and a
    // field parameter, 0.01 ≤ A ≤ 1, 0.1° ≤ angle < 90° and the point is not the design's own.
    // One undo step, and the plot's own undo takes the click back.
    void ApFieldParamsChng(double a, double angle);
    // comApFldUndo: puts back the general and aperture parameters, with their values, from
    // before the last click.
    void ApFieldUndo();

    // --- Design study -------------------------------------------------------------------------

    // The mode's study choices (ui/study.h fills in what the user left open).
    void ChooseStudy(app::StudyChoice choice);
    // A click into the study plot at the parameter's value `displayValue` (display units): as
    // if typed into the parameter's box, one undo step.
    void ApplyStudyValue(double displayValue);

    // --- Undo, clear, recall ----------------------------------------------------------------

    void Undo();    // comUndo
    void Clear();   // comClear
    void Recall();  // comRecall

    // --- History ----------------------------------------------------------------------------

    // Ctrl+Z one step back, Ctrl+Shift+Z and Ctrl+Y one forward (kHistoryKeys); the exchange
    // of the undo button then exchanges with the state before the walk.
    void Walk(HistoryWalk walk);
    // lstHistory: a click on row `row` restores its state as a new step.
    void PickHistoryRow(int row);

    // --- Reference design (main_window_reference.cpp) --------------------------------------

    // comPinReference: the current design, solved, becomes the reference to compare with and is
    // kept in the settings file at once. Neither this nor clearing it is a change of the design:
    // no undo step, no history step. A failed save is shown; the reference is then kept for this
    // run only.
    void PinReference();
    // comClearReference: no reference any more, in the window and in the settings file.
    void ClearReference();

    // --- Dialog results ----------------------------------------------------------------------

    // The units dialog closed with OK and changes: take them, store section "Units", refresh.
    void ApplyUnits(const units::UnitState& chosen);
    // The symbols editor stored new symbols: relabel everything.
    void ReloadSymbols();

    // --- Catalogue lenses (main_window_lens.cpp) --------------------------------------------

    // "Übernehmen": takes `lens` (turned round when `turned`) into the design as one undo step
    // (see ui/catalogue_lens_choice.h); a refusal is shown and changes nothing.
    void TakeCatalogueLens(const analysis::CatalogueLens& lens, bool turned);
    // "Als Blende": the held lens's clear radius becomes the stop radius
    // as one undo step; nothing happens without an offer.
    void UseLensStopRadius();

    // --- Measured beam ---------------------------------------------------------------------

    // comGBMeasureAdopt: the fitted beam becomes the object beam (both axes in the diode mode)
    // as one undo step; a refusal or the note the adoption leaves is shown.
    void AdoptMeasuredBeam();
    // Pasted text (appended to the table) or a CSV file's text (replacing it), read in the
    // columns' units; the lines that could not be read are listed to the user.
    void TakeMeasurementText(std::string_view text, bool replace);
    // comGBMeasureImport: the file the user chose, read as text and taken like the above.
    void ImportMeasurementFile(const std::filesystem::path& file);

    // --- Printing ----------------------------------------------------------------------------

    // "&Drucken": the page of the current listing (paraxial or beam) with the given long date,
    // or nothing after telling the user why it cannot be printed yet. The drawing below the
    // text is the toolkit's to add.
    std::optional<engine::ReportPage> PrintPage(std::string_view dateText);

    // --- Dragging in the drawings ------------------------------------------------------------

    // Mouse-down on a drawing: the window is dragging until EndDrag (false when busy).
    bool BeginDrag();
    // One step of a drag: `change` moves the design; when it changed anything the design is
    // solved and listed again (values only). With `accept`, a solved step it rejects is taken
    // back whole (design, solution and rows as before the step). The first kept change stores
    // `before`, the state at mouse-down, as the one undo step of the whole drag. False when
    // nothing changed.
    bool DragChange(std::optional<Snapshot>& before,
                    const std::function<bool(app::DesignState&)>& change,
                    const std::function<bool(const app::DesignState&)>& accept = {});
    // Mouse-up: `settle` (may be empty) finishes the design, then the window is idle again and
    // everything is shown anew.
    void EndDrag(const std::function<void(app::DesignState&)>& settle);

    // Stores a value of chosen beam parameter `index` of axis 0 (internal units); while
    // circularising, f' and s move together. For change functions (typed values, sliders, drags).
    static void StoreBeamValue(app::DesignState& d, int index, double value);

    // The common tail of a change; `keep` saves the aperture/field plot's state for its own
    // undo and enables that undo button, otherwise the button is disabled.
    void FinishUpdate(bool keep);

private:
    // Stores a value typed (or chosen from the image-format list) for slot `slot`; nothing
    // (no number) changes nothing.
    void ApplySlotValue(int slot, std::optional<double> value, bool fromImageFormat);
    void ApplyLimit(int slot, std::string_view text, bool upper);
    void ApplyApertureLimit(std::string_view text, bool upper);
    // Checks a new limit against the other limit and the value, and stores it; true when it
    // changed the limit.
    bool CommitLimit(engine::CVarType& entry, std::optional<double> value, bool upper);
    // A positive object distance (or limit) while only real objects are allowed is asked for
    // again; nothing when the user cancels.
    std::optional<double> RealObjectValue(int index, double value, bool limit);
    // F-numbers are at least 1, every other aperture figure at least 0.
    std::optional<double> ApertureRuleValue(int index, double value, const char* positivePrompt);
    // Asks with an input box until `acceptable` holds for the number in display units; nothing
    // when the user cancels. Answers are read like typed values of quantity (group, slot).
    template <typename Acceptable>
    std::optional<double> AskUntil(std::string_view title, std::string_view prompt,
                                   const std::string& defaultText, units::Group group, int slot,
                                   double factor, Acceptable acceptable);
    // Solves, lists and moves the sliders; with `record` the continuity store follows the solve.
    void Recalculate(bool record);
    // Recalculate, and have the result names written anew.
    void Refresh(bool record);
    void LoadSymbols(app::DesignState& d);
    // Shows why an entry is refused (out of range, against a limit), the one way every entry of
    // the window refuses; true when there was a refusal.
    bool Refused(std::optional<const char*> refusal);
    // Shows the message of a check box's rule, if any; true when the design changed.
    bool Shown(const ChoiceOutcome& outcome);
    void RecordPending(std::string name, std::string_view text);
    // Records the change from `before` to the current design as a step named `name` (empty:
    // after what changed); `continues` joins it to the newest step (a slider run).
    void RecordStep(const Snapshot& before, std::string name, bool continues);
    bool SaveImmediate(std::string_view section, std::string_view key, std::string_view value);
    // Writes the reference (or that there is none) into the settings file; shows a failure.
    void SaveReference();

    WindowState s_;
    Dialogs& dialogs_;
    app::IniFile& settings_;
};

// The value of slot `slot`'s slider for a value between two limits: lower + (upper - lower)
// times the position share, and back; positions are clamped to the scroll bar.
double ValueAtPosition(float lower, float upper, int position);
std::optional<int> PositionOfValue(float lower, float upper, float value);

}  // namespace rs::ui
