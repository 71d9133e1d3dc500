#pragma once
// The layout of the beam picture: which axes are drawn, the x range of the chosen scale, the
// figures of one axis's solution, the areas, frames and insets of the surface, and the touch
// points a drag grabs.
#include <array>
#include <optional>
#include <vector>

#include "drawing/beam_drawing.h"

namespace rs::drawing::beam_picture {

// Pixel layout of one axis's picture: a margin on every side, and below the main frame a band
// that, with the lower half of the frame, holds the axis labels and the insets.
inline constexpr double kMargin = 15.0;
inline constexpr double kBottomBand = 30.0;
inline constexpr double kInsetShare = 0.333;  // of the width, for each inset
inline constexpr float kInsetWorld = 5.0f;    // insets span ±5 along both directions
inline constexpr double kHeaderGap = 8.0;
inline constexpr double kInsetTextWidth =
    9.0;  // text heights: the width of a value row      // below the header's texts (pixels)
inline constexpr double kSampleLength = 14.0;  // line sample before a legend text (pixels)

double Finite(double v);

bool AxisValid(const beam::BeamDesign& d, int axis);

// The axes that are drawn: axis 0 when it has a solution, axis 1 besides in diode mode.
std::vector<int> DrawnAxes(const beam::BeamDesign& d);

// The range of one axis under the chosen scale.
beam::AxialRange ChoiceRange(const beam::BeamDesign& d, int axis);

// What one axis's picture needs from its solution, every figure finite.
struct AxisData {
    int axis = 0;
    double focal = 0, s = 0, sImg = 0;
    double r = 0, zr = 0, rImg = 0, zrImg = 0;  // waist radii as magnitudes
    double m = 1;                               // M, the factor of the real beam's radii
    double p = 0, pp = 0, front = 0, rear = 0, imageWaist = 0, detector = 0;
    double radiusAtElement = 0, radiusAtDetector = 0, airy = 0;
    bool detectorOn = false;
};

AxisData Gather(const beam::BeamDesign& d, int axis);

// The areas of the two axes' pictures; both the whole rectangle in the single layout.
std::array<ScaleRect, 2> AreasFor(BeamLayout layout, const ScaleRect& a);

// The main scale and the insets of one area for texts `textHeight` pixels high; nothing when a
// scale cannot be made.
std::optional<BeamAxisFrame> MakeFrame(const ScaleRect& area, const beam::AxialRange& range,
                                       double halfHeight, double textHeight);

// Pixels an inset needs inside its frame for its title, two rows of values and a beam below
// which the texts give way.
double InsetTextRoom(double textHeight);

void RegisterTouch(BeamTouchPoints& t, const DrawingScale& s, const AxisData& a);

inline PixelBox AreaBox(const ScaleRect& a) {
    return {a.left, a.top, a.left + a.width, a.top + a.height};
}

}  // namespace rs::drawing::beam_picture
