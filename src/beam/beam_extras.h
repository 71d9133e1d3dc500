#pragma once
// Figures derived from a solved beam axis: cardinal and waist positions, beam radii at the
// element and the detector, ratios; the depth of focus, the minimum-spot tool, the axial range
// of the beam drawing, and the accept/refuse rules of the extras value boxes.
//
// Nothing here ever yields NaN or infinity: a figure whose computation divides by zero or
// overflows is stored as 0 unless its description names another fallback, so the report, the
// drawing and the settings file only ever see finite numbers.
#include <array>
#include <string>
#include <string_view>

#include "beam/beam_context.h"
#include "beam/beam_design.h"

namespace rs::beam {

// Fills axis.extras of a successfully solved axis.
void ComputeExtras(BeamDesign& design, int axis, const BeamContext& context);

// --- Gaussian propagation -------------------------------------------------------------------

// Curvature radius reported for a flat wavefront (at the waist itself).
inline constexpr double kFlatWavefront = 5e20;

// 1/e² radius at distance z (mm, either sign) from a waist of radius r0 (mm):
// r0 · √(1 + (λ z / (π r0²))²). Keeps the sign of r0, as waist radii carried through a negative
// magnification do. 0 when r0 is 0 or the result is not finite.
double BeamRadiusAtDistance(double waistRadius, double z, double wavelengthMm);

// Radius of curvature of the wavefront at distance z from the waist: z · (1 + (π r0² / (λ z))²);
// kFlatWavefront when z is 0 or the result is not finite.
double WavefrontCurvatureRadius(double waistRadius, double z, double wavelengthMm);

// --- Beam quality -----------------------------------------------------------------------------

inline constexpr double kMaxMSquared = 50.0;  // exclusive

// True for 1 ≤ M² < 50.
bool IsValidMSquared(double mSquared);
// The stored M² of the axis (axis 0: extras options, axis 1: diode settings); a stored value
// outside the valid range (0 or below 1 from an old file, or anything a file can hold) reads
// as 1.
double MSquared(const BeamDesign& design, int axis);
// M = √M² while the M²-use switch is on, else 1. Scales the shown and drawn radii and
// divergences; the beam engine itself always works on the embedded Gaussian.
double MFactor(const BeamDesign& design, int axis);

// --- Detector -----------------------------------------------------------------------------------

// The detector distance behind the element as used and shown: the typed value rounded to whole
// millimetres, ties to the even neighbour (100.5 → 100, 101.5 → 102); 0 when not finite.
double DetectorDistance(const BeamExtrasOptions& options);

// --- Depth of focus -----------------------------------------------------------------------------

inline constexpr int kDofEntryCount = 7;
inline constexpr int kDefaultDofEntry = 1;  // 5 %
inline constexpr double kDefaultDofFraction = 0.05;

// Growth fraction of list entry `entry`; any index outside the list gives 0.05.
double DofFraction(int entry);
// List texts: "2%", "5%", …, "41.4%   [zr']", "50%".
std::string DofEntryText(int entry);
// The list entry showing `fraction`, for selecting it after a load; the default entry when the
// fraction is none of the list's.
int DofEntryOf(double fraction);
// The fraction in effect: the stored one, or 0.05 when it is not greater than 0 (or not finite).
double EffectiveDofFraction(const BeamExtrasOptions& options);
// Half depth of focus of axis 0 in mm: zr' · √((1 + p)² − 1) with zr' = π r'² / λ.
double HalfDepthOfFocus(const BeamDesign& design);
// "±0.123mm", or "±0.5um" below 0.001 mm.
std::string DepthOfFocusText(const BeamDesign& design);

// --- Minimum-spot tool --------------------------------------------------------------------------

// Where to put the object waist, for the current element and object beam of axis 0, so that the
// beam radius at distance D behind the element is smallest. The spot at D is smallest when the
// object waist is imaged geometrically onto D: sn = f'·D / (D − f'); the radius there is
// r·|D − f'| / |f'|, whatever the length unit.
struct MinSpot {
    // 0: nothing to show (no distance, or the axis has no solution); 2: the current state only
    // (no object distance images onto D, D = f'); 3: sn found but its image waist is not
    // defined; 6: everything.
    int lineCount = 0;
    // Line 1: beam radius at D for the current object distance.
    double currentRadius = 0.0;
    // Line 2: s', s'·(D − s'), zr'², s'·(D − s') / zr'².
    std::array<double, 4> current{};
    // Line 3: the object waist distance.
    double objectDistance = 0.0;
    // Lines 4 to 6: its image waist distance, waist magnification, (D − s'n)·s'n, the squared
    // image Rayleigh length (mn²·zr)², and the spot radius reached at D.
    double imageDistance = 0.0;
    double magnification = 0.0;
    double imageProduct = 0.0;
    double imageRayleighSquared = 0.0;
    double minimumRadius = 0.0;
};

MinSpot ComputeMinSpot(const BeamDesign& design, double distance);

// The result label for the stored distance: the lines of ComputeMinSpot joined by "\n" (the
// toolkit label breaks lines on it), empty when there is nothing to show.
std::string MinSpotText(const BeamDesign& design);

// --- Axial range of the beam drawing ------------------------------------------------------------

struct AxialRange {
    double min = 0.0;
    double max = 0.0;
};

// Automatic x range of the beam drawing from the axis's table and extras: the cardinal points
// (and the detector while it is on), plus the object waist, the image waist and the farthest
// image waist where each lies within 20 focal lengths of the element; a waist farther out
// extends the range by 20·|f'| on its side instead, so a far waist cannot squeeze the picture.
// Axis 0 or 1; any other number is a programming error.
AxialRange BeamDrawingRange(const BeamDesign& design, int axis = 0);

// --- Value boxes of the extras panel ------------------------------------------------------------

enum class EditResult { Accepted, Refused };

// On Accepted the value is stored and the caller takes its undo backup, recalculates and
// refreshes; on Refused nothing changed and the box is rewritten with the stored value. Values
// that are not finite, out of range, or equal to the stored one (both 0, or within 1e-7) are
// refused.
EditResult SetWavelength(BeamDesign& design, double nm);               // > 0
EditResult SetMFactor(BeamDesign& design, int axis, double mSquared);  // 1 ≤ M² < 50
EditResult SetDetectorDistance(BeamDesign& design, double mm);         // any finite value
EditResult SetMinSpotDistance(BeamDesign& design, double mm);          // > 0
// Stores the fraction of list entry `entry` (out-of-list indices give 0.05); Refused when the
// stored fraction already is that one.
EditResult SetDofEntry(BeamDesign& design, int entry);

// The unit the distance boxes show (the window's unit for scale lengths and distances): mm per
// unit and its suffix.
struct DistanceUnit {
    double factor = 1.0;
    std::string_view suffix = "mm";
};

// The same for the typed box texts: a number with point or comma, optionally followed by the
// unit the box shows ("nm" for the wavelength, the distance unit for the distances); anything
// else is refused.
EditResult ApplyWavelengthText(BeamDesign& design, std::string_view text);
EditResult ApplyMFactorText(BeamDesign& design, int axis, std::string_view text);
EditResult ApplyDetectorDistanceText(BeamDesign& design, std::string_view text,
                                     const DistanceUnit& unit = {});
EditResult ApplyMinSpotDistanceText(BeamDesign& design, std::string_view text,
                                    const DistanceUnit& unit = {});

// Box texts: "632.8nm", "1.0", "100.0mm" (the rounded distance), "25.0mm".
std::string WavelengthText(const BeamDesign& design);
std::string MFactorText(const BeamDesign& design, int axis);
std::string DetectorDistanceText(const BeamDesign& design, const DistanceUnit& unit = {});
std::string MinSpotDistanceText(const BeamDesign& design, const DistanceUnit& unit = {});
// A distance in the unit: "0.0##" with the suffix.
std::string DistanceText(double mm, std::string_view format, const DistanceUnit& unit);

}  // namespace rs::beam
