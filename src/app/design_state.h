#pragma once
// The whole design as the program keeps it between runs: the paraxial design with its options,
// the display units, the depth-of-field choices, the window's drawing flags and the beam
// settings. One object, owned by the window (or the command-line program), loaded from and saved
// to the settings file.

#include <string>

#include "analysis/dof.h"
#include "beam/beam_design.h"
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

// A study of one mode: a chosen parameter run over a range, with one or two numeric rows of the
// result list plotted against it. Empty names or an unset range give the mode's default.
struct StudyChoice {
    std::string parameter;  // as a sweep plan names it ("a", "Blendenzahl")
    bool rangeSet = false;  // else the parameter's slider limits
    double from = 0.0;      // in display units
    double to = 0.0;
    bool logarithmic = false;
    std::string quantity;   // a result row's name
    std::string quantity2;  // on the right axis; empty: none

    friend bool operator==(const StudyChoice&, const StudyChoice&) = default;
};

struct DesignState {
    engine::ParaxialDesign paraxial;
    units::UnitState units;
    analysis::DofOptions dof;
    analysis::DofResults dofResults;
    WindowOptions window;
    beam::BeamDesign beam;
    StudyChoice study;      // the paraxial mode's study
    StudyChoice studyBeam;  // the beam mode's study
};

}  // namespace rs::app
