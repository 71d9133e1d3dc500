#pragma once
// The picture of the Gaussian beam through the thin element: the axis with the marks of the
// waists, principal and focal points and the detector; the beam envelope (upper half, 1/e²
// radius against the axial position) on the object side in red and on the image side in blue,
// with the real (M-scaled) beam as a lighter copy when M > 1; and two insets that show the
// beam around the object and the image waist at a scale where the waist can be read.
//
// A waist on the far side of the element is virtual (a diverging element, or a beam converging
// onto it): the envelope between it and the element is dotted, and the real beam is drawn on
// from the element to the picture's end on that side, the frame made high enough to hold it.
// Labels along the axis never overlap: a mark's label moves to a second row, or is left out
// when both rows are taken by more important ones (element, waists, detector, F', F, P').
//
// World coordinates: x in mm along the axis from the object waist (x = 0), positive in the
// direction of propagation; y the beam radius in mm. In the diode-laser mode each axis gets
// its own picture, titled "Achse 1" or "Achse 2": side by side on a wide surface, one above the
// other on a tall one. Otherwise both share one area and one pair of insets; the second axis is
// drawn dotted (a legend says so) and its marks carry "[2]".
#include <array>
#include <optional>
#include <string_view>

#include "analysis/thick_lens.h"
#include "beam/beam_design.h"
#include "beam/beam_extras.h"
#include "drawing/drawing_scale.h"
#include "drawing/paraxial_drawing.h"
#include "drawing/surface.h"

namespace rs::drawing {

// Colours of the envelopes of the real beam (M > 1), on screen and on paper.
inline constexpr Colour kObjectBeamMScreen = 0xDCDCFF;  // RGB(255, 220, 220)
inline constexpr Colour kObjectBeamMPrint = 0x7878FF;   // RGB(255, 120, 120)
inline constexpr Colour kImageBeamMScreen = 0xFFDCDC;   // RGB(220, 220, 255)
inline constexpr Colour kImageBeamMPrint = 0xFF7878;    // RGB(120, 120, 255)

// Samples per envelope segment.
inline constexpr int kEnvelopeSamples = 101;

// The list of drawing scales (`cmbGBDrgScales`), in list order; the choice is stored as the
// index (BeamExtrasOptions::drgScaleType) with the fixed distance D (drgScale, mm).
inline constexpr int kBeamScaleChoiceCount = 7;
// The list text of a choice; empty outside 0..6.
std::string_view BeamScaleChoiceText(int choice);

// 1 one picture (or both diode axes in one area), 2 the axes side by side, 3 one above the
// other.
enum class BeamLayout : int { Single = 1, SideBySide = 2, Stacked = 3 };

// Layout for the surface rectangle: Single outside the diode mode; in diode mode by the aspect
// width/height: above 1.1 side by side, below 0.9 stacked, else Single.
BeamLayout BeamLayoutFor(const beam::BeamDesign& design, const ScaleRect& area);

// The x range (mm) of the chosen scale for the solved design. Every drawn axis uses this one
// range, so the diode axes can be compared: in diode mode it covers the ranges of both valid
// axes. A choice outside 0..6 reads as the automatic range; a fixed distance D that is not
// positive (or not finite) counts as not set (D = the automatic range's width). The multiples
// of the focal length take |f'|, so a diverging element does not turn the range inside out; a
// chosen range that still comes out empty (no focal length) gives the automatic one.
beam::AxialRange BeamXRange(const beam::BeamDesign& design);

struct BeamDrawingOptions {
    bool printing = false;  // the M-scaled envelopes in the darker paper colours
    // Scales and touch points frozen; the clip spans the width of the axis's area (the whole
    // surface, but for the other axis's half when the diode axes stand side by side).
    bool dragging = false;
    int lengthUnit = 1;  // units code of the length scale's ticks; 1 mm
    // A solved beam design to compare with: its envelopes and element in light grey behind the
    // picture, on the same axis (x = 0 at its own object waist) and at the picture's scale.
    const beam::BeamDesign* reference = nullptr;
    // A catalogue lens held by the design as the element of axis 0: its real outline (upper
    // half) is drawn around that axis's principal planes, to the picture's scales.
    std::optional<analysis::ThickLens> lens = std::nullopt;
};

// One axis's picture: its main frame and the two insets (world ±5 along both axes).
struct BeamAxisFrame {
    bool defined = false;  // false until a redraw has made the scales
    ScaleRect area;        // the part of the surface the axis's picture uses
    double header = 0.0;   // height of the header row above the main frame (pixels)
    DrawingFrame main;
    bool insets = false;  // false when the surface is too small for them
    DrawingFrame objectInset;
    DrawingFrame imageInset;
};

// The features that can be grabbed, in surface pixels of axis 0's main scale, with that scale.
// The radius rows are where the picture draws them: the real beam's radii (M times those of
// the embedded Gaussian), which are also the radii the result list shows. The Airy radius is a
// figure of the aperture, not of the beam, and is taken as it is.
struct BeamTouchPoints {
    bool registered = false;
    DrawingScale scale;
    // Rows (y)
    float axisY = 0.0f;
    float objectRadiusY = 0.0f;   // M × |r|, where the real beam starts
    float belowAxisY = 0.0f;      // axis + 14 pixels: the first row of the axis labels
    float elementRadiusY = 0.0f;  // M × beam radius at the element, the top of its bar
    float imageRadiusY = 0.0f;    // M × |r'|
    float markY = 0.0f;           // axis + 20 pixels
    float airyY = 0.0f;           // Airy radius (no M)
    // Columns (x)
    float objectWaistX = 0.0f;
    float objectRayleighX = 0.0f;  // object waist + zr
    float frontFocusX = 0.0f;      // F
    float principalX = 0.0f;       // P, the element
    float secondPrincipalX = 0.0f;
    float rearFocusX = 0.0f;      // F'
    float imageWaistX = 0.0f;     // image waist
    float imageRayleighX = 0.0f;  // image waist − zr'
    float detectorX = 0.0f;
};

// What a redraw keeps for the next one and for the mouse: frozen while dragging.
struct BeamDrawingMemory {
    BeamLayout layout = BeamLayout::Single;
    std::array<BeamAxisFrame, 2> axes;
    BeamTouchPoints touch;
};

// Clears the surface and draws every valid axis. Outside a drag the scales are made anew and
// the touch points registered from axis 0; while dragging both stay as the last redraw made
// them (scales never made are made once). NotSolved when axis 0 has no valid solution (only
// the clear; outside a drag the touch points are then no longer registered, as nothing can be
// grabbed); Stopped when a floating-point fault ended the redraw or a scale could not be made.
RedrawOutcome RedrawBeam(Surface& surface, const beam::BeamDesign& design,
                         const BeamDrawingOptions& options, BeamDrawingMemory& memory);

// The beam drawn under a surface pixel: its axis, its side of the element and the axial
// distance (mm) from that side's waist.
struct BeamUnderPixel {
    int axis = 0;
    bool objectSide = true;
    double distance = 0.0;
};

// Wherever an axis's picture, as the last redraw laid it out, draws an envelope at the pixel's
// column (virtual parts, the beam beyond the image waist and axis 2's own picture included),
// and the pixel lies in the upper half of that picture: from the frame's top to 15 pixels below
// the axis. The first axis wins where both share one area.
std::optional<BeamUnderPixel> BeamAtPixel(const beam::BeamDesign& design,
                                          const BeamDrawingMemory& memory, double px, double py);

}  // namespace rs::drawing
