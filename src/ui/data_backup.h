#pragma once
// The one-step undo. Every undoable change first stores the working state as the backup; undo
// exchanges the working state with the backup, so undoing twice restores what the first undo
// took back. A run of movements of one slider stores one backup, before its first movement.
#include <optional>

#include "app/design_state.h"
#include "beam/beam_design.h"
#include "engine/options.h"
#include "engine/selection.h"

namespace rs::ui {

// Kinds of change, passed with every backup request.
enum BackupKind : int {
    kBackupSelection = 0,  // parameter selection (check boxes), recall
    kBackupObjAtInfinity = 1,
    kBackupTypedValue = 2,  // typed paraxial or aperture value, typed slider limit
    kBackupSlider = 3,      // slider movement (paraxial, aperture and beam sliders)
    kBackupDrag = 4,        // drag editing: remembered, nothing stored
    kBackupAdvanced = 5,    // advanced values and their "Standard" button
    kBackupCoC = 6,         // custom circle of confusion
    kBackupMirror = 7,      // lens/mirror switch
    kBackupPositiveObj = 8,
    kBackupConstructionRays = 9,
    kBackupClear = 10,
    kBackupApField = 11,  // aperture and field angle set from the aperture/field plot
    kBackupBeamSelection = 13,
    kBackupBeamValue = 14,    // typed beam value or limit, typed beam extras
    kBackupDiode = 15,        // diode-laser mode and circularisation
    kBackupHistory = 16,      // a walk through the design history or a pick from its list
    kBackupLens = 17,         // a catalogue lens taken into the design
    kBackupMeasurement = 18,  // the measured beam taken as the object beam
};

// What a backup holds: the three parameter sets and the options an undo puts back.
struct Snapshot {
    engine::Selection params{3};
    engine::Selection aperture{1};
    engine::Selection beam{3};
    bool objAtInfinity = false;
    engine::AdvancedOptions advanced;
    bool mirrorMode = false;
    bool positiveObj = false;
    bool drawHaltingRay = false;
    float cocCustom = 0.0f;
    bool beamMode = false;
    beam::BeamExtrasOptions beamExtras;
    beam::DiodeSettings diode;
    double beamWavelengthNm = beam::kDefaultBeamWavelength;
    // The image-format choice goes with the image height it set.
    bool imgHgtFixed = false;
    int imgHgtOption = 0;
    std::optional<app::HeldLens> lens;

    friend bool operator==(const Snapshot&, const Snapshot&) = default;
};

Snapshot Capture(const app::DesignState& state);
void Restore(app::DesignState& state, const Snapshot& snapshot);

class DataBackup {
public:
    // Stores the current state as the backup of a change of `kind` (for sliders `index` names
    // the slider). Kind 4 stores nothing; kind 3 stores only at the start of a run of one
    // slider.
    void TakeBackup(int kind, int index, const app::DesignState& current);
    // The same with a state captured earlier, for handlers that learn only after working
    // whether anything changed (a refused selection must not cost the user their undo step).
    // False when nothing was stored: a drag's move, or a slider run going on.
    bool TakeBackupOf(int kind, int index, Snapshot before);
    // A drag in a drawing is one undo step however many moves it makes: the state at mouse-down
    // becomes the backup (of kind kBackupDrag) once the drag first changes something. The moves
    // themselves request kBackupDrag, which stores nothing, so none of them can replace it.
    void TakeDragBackup(Snapshot atMouseDown);

    // Exchanges the working state with the backup; false when there is none.
    bool Undo(app::DesignState& state);

    bool Exists() const { return backup_.has_value(); }
    int Kind() const { return kind_; }
    const std::optional<Snapshot>& Backup() const { return backup_; }
    // Ends the current slider run, so the next movement stores a backup again.
    void EndSliderRun() { sliderRun_ = 0; }

private:
    // True when a backup of this kind is to be stored now.
    bool Admit(int kind, int index);

    std::optional<Snapshot> backup_;
    int kind_ = 0;
    int sliderIndex_ = -1;
    int sliderRun_ = 0;
};

}  // namespace rs::ui
