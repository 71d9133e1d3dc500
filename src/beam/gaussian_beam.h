#pragma once
// The thin element as a transformer of a Gaussian beam: three chosen quantities per beam axis
// (conjugate distances or the magnification, plus a beam parameter on one or both sides) are
// solved in closed form for all the others.
//
// Conventions: lengths in mm, angles in radians; s > 0 for an object waist in front of the
// element, s' > 0 for an image waist behind it, f' > 0 for a converging element. Beam radii are
// 1/e² radii, divergences far-field half angles. Every value this module stores is finite and
// fits single precision (the continuity store and the selection keep floats), so a solve whose
// result would not is a solve without solution; so is one whose result no longer satisfies the
// thin-element relations because the closed forms ran out of digits at extreme inputs.
#include <optional>
#include <string>

#include "beam/beam_context.h"
#include "beam/beam_design.h"
#include "engine/selection.h"
#include "engine/var_type.h"

namespace rs::beam {

// One side of the element: waist radius, divergence (half angle) and Rayleigh length.
struct BeamTriple {
    double radius = 0.0;
    double divergence = 0.0;
    double rayleigh = 0.0;
};

// The triple from one given value of index 5..7 (object side) or 8..10 (image side); the value
// counts by its magnitude. Nothing for another index, a value of 0, a wavelength that is not
// positive, or a triple that would not be finite and non-zero.
std::optional<BeamTriple> TripleFrom(int index, double value, double wavelengthMm);

// The closed-form pieces of the solve. Each gives nothing where it would divide by zero, take
// the root of a negative number or produce a non-finite value. `f` is the image-side focal
// length f'; "alternative" picks the other root of a quadratic.
namespace formula {
// Image waist distance s' from s, f', zr.
std::optional<double> G1(double s, double f, double zr);
// Object waist distance s from s', f', zr' (G1 read backwards through the element).
std::optional<double> G2(double sImg, double f, double zrImg);
// Waist magnification from s, f', zr.
std::optional<double> G3(double s, double f, double zr);
// Waist magnification from s', f', zr'.
std::optional<double> G4(double sImg, double f, double zrImg);
// Object waist distance from m, f', zr: f' + q, alternatively f' − q.
std::optional<double> G5(double m, double f, double zr, bool alternative);
// Focal length from s, m, zr. The default root stays finite at |m| = 1 (a 1:1 relay), where it
// is (s² + zr²) / (2 s); the alternative root has no value there.
std::optional<double> G6(double s, double m, double zr, bool alternative);
// Focal length from s', m, zr'; as G6 on the image side.
std::optional<double> G7(double sImg, double m, double zrImg, bool alternative);
// Waist magnification from s', f', zr: by default the large-magnification root, alternatively
// the one near the geometric image.
std::optional<double> G8(double sImg, double f, double zr, bool alternative);
// Waist magnification from s, f', zr'. At s = f' the only solution is m² = zr'² / f'², taken by
// default; the alternative has no value there.
std::optional<double> G9(double s, double f, double zrImg, bool alternative);
// Focal length from s, s', zr (one root only: the one that becomes s s' / (s + s') for zr → 0).
std::optional<double> G10(double s, double sImg, double zr);
// Focal length from s, s', zr'.
std::optional<double> G11(double s, double sImg, double zrImg, bool alternative);
// Waist magnification from both Rayleigh lengths: √|zr' / zr|.
std::optional<double> G12(double zr, double zrImg);
}  // namespace formula

// The message that refuses a selection of axis 0, or nothing when it may stand (incomplete
// selections may).
std::optional<std::string> ValidateBeamSelection(const engine::Selection& selection);

struct ToggleOutcome {
    bool selected = false;               // the box is checked afterwards
    std::optional<std::string> message;  // shown when the combination was refused
};

// A click on check box `index` of axis 0. A fourth parameter, the waist-to-waist distance (the
// solve never takes it as input), an index outside 0..10 and a box disabled by circularisation
// are refused without a message; a refused combination is removed again and its message
// returned. A new entry starts from `prefill` (the continuity store's record) when given. The
// caller takes the undo backup before and recalculates after a change.
ToggleOutcome ToggleBeamParam(BeamDesign& design, int index, bool check,
                              const std::optional<engine::CVarType>& prefill = std::nullopt);

// Solves one axis into its table and status flags; true when every value was computed. Records
// the outcome in the continuity store of the context, when there is one: the solution of a
// complete selection, or an incomplete selection as undefined values; a failed solve leaves it.
bool SolveAxis(BeamDesign& design, int axis, const BeamContext& context);

// Axis 0 with its extras; in diode mode then axis 1, built from axis 0 (or emptied when axis 0
// has no solution).
void SolveAllAxes(BeamDesign& design, const BeamContext& context);

// Whether the alternative-solution switch can be used: in beam mode with a complete selection
// on axis 0 whose solution is not unique.
bool AltSolutionAvailable(const BeamDesign& design);

// Stores a typed value (internal units) for the selected parameter `index` of axis `axis` and
// marks it defined. False when the index is not selected or the value is not a finite single
// precision number.
bool SetSelectedValue(BeamDesign& design, int axis, int index, double value);

}  // namespace rs::beam
