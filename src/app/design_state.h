#pragma once
// The whole design as the program keeps it between runs: the paraxial design with its options,
// the display units, the depth-of-field choices, the window's drawing flags and the beam
// settings. One object, owned by the window (or the command-line program), loaded from and saved
// to the settings file.
#include <optional>
#include <vector>

#include "analysis/dof.h"
#include "engine/paraxial_design.h"
#include "units/units.h"

namespace rs::app {

// Flags of the main window that the settings file keeps.
struct WindowOptions {
    int unitType = 0;  // symbol set: 0 standard, 1 the user's
    bool hideRemConj = false;
    bool drawPoints = false;
    bool positiveObj = false;
    bool drawHaltingRay = false;  // construction rays
    // Image height taken from the image-format list, and which entry.
    bool imgHgtFixed = false;
    int imgHgtOption = 0;

    friend bool operator==(const WindowOptions&, const WindowOptions&) = default;
};

// Beam-mode settings, kept whole so that loading and saving never loses them.
struct BeamSettings {
    bool gaussianBeam = false;
    bool showExtraGB = true;
    double waveLen = 632.8;  // nm
    bool mFactorUse = false;
    double mFactor = 1.0;
    double drgScale = 0.0;
    double conjDist = 100.0;  // mm
    int drgScaleType = 0;
    bool detDistUse = false;
    double detDst = 0.0;  // mm
    bool rect = false;    // diode laser
    double diodeMfactor = 1.0;
    int diodeParamUserType = 6;  // 5, 6 or 7
    std::optional<double> diodeParamUserVal;  // nothing: computed from the beam
    bool circularise = false;
    int collimationMode = 0;
    // The chosen beam parameters (at most three, sorted, unique).
    std::vector<engine::CVarType> records;

    friend bool operator==(const BeamSettings&, const BeamSettings&) = default;
};

struct DesignState {
    engine::ParaxialDesign paraxial;
    units::UnitState units;
    analysis::DofOptions dof;
    analysis::DofResults dofResults;
    WindowOptions window;
    BeamSettings beam;
};

// Beam parameter indices that can be chosen (the object-to-image distance never can).
bool IsSelectableBeamIndex(int index);
inline constexpr int kMaxBeamRecords = 3;

}  // namespace rs::app
