#pragma once
// Everything the main window keeps: the design, and the window-only state around it (busy
// state, slider positions, undo backup and history, cached result rows, texts typed but not taken).
// One object, so every test starts from a fresh window and nothing lives in globals.
#include <array>
#include <map>
#include <optional>
#include <string>

#include "app/design_state.h"
#include "beam/beam_report.h"
#include "engine/report.h"
#include "ui/data_backup.h"
#include "ui/history.h"
#include "ui/state_machine.h"

namespace rs::ui {

inline constexpr int kSliderMin = 0;
inline constexpr int kSliderMax = 100;
inline constexpr int kValueSlots = 3;  // value boxes and sliders of the general (or beam) set

// Slider numbers as the undo's slider runs tell them apart.
inline constexpr int kApertureSliderId = 10;
inline constexpr int kBeamSliderIdBase = 20;

struct WindowState {
    app::DesignState design;
    StateMachine machine;

    bool loading = false;           // during start-up
    bool started = false;           // start-up has run
    bool enteringByTyping = false;  // while a typed general value is applied
    bool changePending = false;     // closing asks to save even with nothing selected

    // Scroll-bar positions (kSliderMin..kSliderMax), kept because equal limits leave a slider
    // where it is.
    std::array<int, kValueSlots> sliderPos{};
    int sliderPosAp = 0;
    std::array<int, kValueSlots> beamSliderPos{};

    DataBackup backup;
    // Every step of this run, for walking back and forward; `dragChanged` while a drag has
    // changed the design, so that mouse-up records it as one step.
    History history;
    bool dragChanged = false;
    // Enabled state of the aperture/field plot's own undo button, and what it puts back: the
    // general and aperture parameters, with their values, from before the last click into a plot.
    bool apFldUndoEnabled = false;
    struct ApFieldBackup {
        engine::Selection params{3};
        engine::Selection aperture{1};
    };
    std::optional<ApFieldBackup> apFldBackup;

    // The result list as last filled, and which optional rows its name column showed.
    engine::ResultList results;
    engine::ResultListCache resultCache;
    beam::BeamListCache beamCache;

    // The reference design the user pinned (as it was pinned); solved as the current design
    // shows it (units, symbols) with its result list, both only while the modes are the same.
    std::optional<app::DesignState> reference;
    std::optional<app::DesignState> referenceShown;
    std::optional<engine::ResultList> referenceResults;

    // Texts typed into a box that were not taken (a limit box with no number in it keeps what
    // was typed until the next update), by control name.
    std::map<std::string, std::string> pendingTexts;
};

}  // namespace rs::ui
