#pragma once
// The drawing frame shared by every picture: the fit between world millimetres (x along the
// axis, y upwards) and surface pixels (y downwards), the world clipping rectangle, line
// clipping, and the small primitives that draw through both.
//
// A floating-point fault (a zero-width range, a coordinate that is not a number) must stop a
// redraw without a message, keeping what was drawn. The primitives therefore report a fault by
// returning false and draw nothing in that case; a redraw stops at the first false.
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "drawing/surface.h"

namespace rs::drawing {

// The fit between world and surface, single precision like the values it draws.
struct DrawingScale {
    float screenLeft = 0.0f;    // pixel x of worldXMin
    float scaleX = 1.0f;        // pixels per mm along x
    float screenBottom = 0.0f;  // pixel y of worldYMin
    float scaleY = 1.0f;        // pixels per mm along y
    float worldXMax = 0.0f;
    float worldXMin = 0.0f;
    float worldYMax = 0.0f;
    float worldYMin = 0.0f;

    float WorldToScreenX(float x) const { return (x - worldXMin) * scaleX + screenLeft; }
    float WorldToScreenY(float y) const { return screenBottom - (y - worldYMin) * scaleY; }
    float ScreenToWorldX(float sx) const { return (sx - screenLeft) / scaleX + worldXMin; }
    float ScreenToWorldY(float sy) const { return (screenBottom - sy) / scaleY + worldYMin; }
    float ScreenToWorldDX(float dsx) const { return dsx / scaleX; }
    float ScreenToWorldDY(float dsy) const { return dsy / scaleY; }

    friend bool operator==(const DrawingScale&, const DrawingScale&) = default;
};

// Maps the world rectangle onto the screen rectangle (independent scales along x and y).
// Nothing when the result could not convert both ways: a zero or non-finite range on either
// side.
std::optional<DrawingScale> MakeDrawingScale(float screenLeft, float screenRight, float screenTop,
                                             float screenBottom, float worldXMin, float worldXMax,
                                             float worldYMin, float worldYMax);

// The world rectangle every line is clipped against (mm).
struct ClipRect {
    double xMin = 0.0;
    double xMax = 0.0;
    double yMin = 0.0;
    double yMax = 0.0;
    friend bool operator==(const ClipRect&, const ClipRect&) = default;
};

// The world x range of the scale and the world y range of the given screen rows; with
// useScreenWidth the world x range of the given screen columns instead.
ClipRect MakeClipRect(const DrawingScale& scale, float screenTop, float screenBottom,
                      bool useScreenWidth, float screenLeft, float screenRight);

// Edges count as inside.
bool PointInRect(const ClipRect& rect, double x, double y);

// Cohen-Sutherland: true with both end points moved onto the rectangle when part of the line
// is visible, false when none is. A coordinate that is not a number makes the line invisible;
// infinite coordinates are clipped like very large ones.
bool ClipLine(const ClipRect& rect, double& x1, double& y1, double& x2, double& y2);

// A scale with the clip rectangle that goes with it.
struct DrawingFrame {
    DrawingScale scale;
    ClipRect clip;
};

// The world range of the paraxial picture, kept by the caller between redraws so that a drag
// can reuse it and the picture does not rescale under the mouse.
struct DrawingExtents {
    float xMax = 0.0f;
    float xMin = 0.0f;
    float yMax = 0.0f;
    float yMin = 0.0f;
    bool defined = false;  // false until a redraw has computed them
    friend bool operator==(const DrawingExtents&, const DrawingExtents&) = default;
};

// Margin kept free on every side of the surface by the equal-scale fit (pixels).
inline constexpr float kFitMargin = 10.0f;

// Fits the extents into the surface area with the same pixels per mm along both axes, centred
// in the direction with room to spare. The clip rectangle spans the unshrunk area vertically
// and the world x range horizontally, or, while dragging, the unshrunk area's columns, so a
// dragged feature stays visible beyond the frozen extents. Nothing on a floating-point fault.
std::optional<DrawingFrame> FitEqualScale(const ScaleRect& area, const DrawingExtents& extents,
                                          bool dragging);

// Primitives. Each returns false (and draws nothing) on a floating-point fault.

// Clipped line between two world points; the pen's style and width apply to this line only.
[[nodiscard]] bool DrawLine(Surface& surface, const DrawingFrame& frame, float x1, float y1,
                            float x2, float y2, const Pen& pen = {});

// Where DrawTracedLine drew: the pixels of the visible part, if any.
struct DrawnLine {
    bool ok = true;        // false on a floating-point fault
    bool visible = false;  // false when the line was clipped away
    PixelPoint a;
    PixelPoint b;
};

// DrawLine that also tells where the line went, for labels that are to leave it visible.
DrawnLine DrawTracedLine(Surface& surface, const DrawingFrame& frame, float x1, float y1, float x2,
                         float y2, const Pen& pen = {});

// A world point (mm).
struct WorldPoint {
    float x = 0.0f;
    float y = 0.0f;
};

// The clipped lines between neighbouring world points, exactly as DrawLine draws each of them,
// handed to the surface as connected runs (Surface::Polyline): a curve of many short pieces costs
// one stroke instead of one per piece.
[[nodiscard]] bool DrawPolyline(Surface& surface, const DrawingFrame& frame,
                                std::span<const WorldPoint> points, const Pen& pen = {});

// Rectangle between two world corners, not clipped (pixel coordinates are limited to
// ±kLabelPixelLimit so a far corner cannot overflow the device).
[[nodiscard]] bool DrawBox(Surface& surface, const DrawingFrame& frame, float x1, float y1,
                           float x2, float y2, Colour colour, bool filled);

inline constexpr float kLabelPixelLimit = 100000.0f;

// Text with its top-left corner at the world point, shifted by (dx, dy) pixels. With insideOnly
// nothing is printed for a point outside the clip rectangle; otherwise the text is always
// printed, each pixel coordinate limited to ±kLabelPixelLimit.
[[nodiscard]] bool DrawLabel(Surface& surface, const DrawingFrame& frame, float x, float y,
                             std::string_view text, Colour colour, bool insideOnly, float dx = 0.0f,
                             float dy = 0.0f);

// Prints at a pixel position with the same limit as DrawLabel; for labels placed relative to
// the picture's edges rather than to a world point.
[[nodiscard]] bool DrawLabelAt(Surface& surface, double px, double py, std::string_view text,
                               Colour colour);

// Text turned by `angle` degrees at pixel (x, y), in a font of `size` points.
[[nodiscard]] bool DrawRotatedText(Surface& surface, std::string_view text, float x, float y,
                                   float angle, float size, std::string_view fontName, bool bold);

// Dotted for the virtual part of a ray, solid for a real one.
constexpr LineStyle VirtualStyle(bool isVirtual) {
    return isVirtual ? LineStyle::Dotted : LineStyle::Solid;
}

// --- Labels ---------------------------------------------------------------------------------
//
// Where the texts of a picture go. Every label of a drawing passes through one placer, which
// remembers the boxes printed so far and the lines drawn: a label goes to the first of its
// candidate places that lies within its bounds, overlaps no other label and covers no line,
// so a text never hides a ray, a mark or another text where the picture has room for it.
//
// A label may name a line (the arrow of a conjugate, the plane of a principal point): that line
// is the last one it may cover. Labels that must appear whatever the room (the paraxial
// picture's) take the least bad candidate; the others (the beam picture's) are left out.

// A rectangle in surface pixels.
struct PixelBox {
    double left = 0.0, top = 0.0, right = 0.0, bottom = 0.0;
    friend bool operator==(const PixelBox&, const PixelBox&) = default;
};

// Boxes that only touch do not overlap.
bool Overlap(const PixelBox& a, const PixelBox& b);
bool Inside(const PixelBox& inner, const PixelBox& outer);
// Whether the line between two pixel points passes through the box.
bool Crosses(const PixelBox& box, PixelPoint a, PixelPoint b);

struct PixelSegment {
    PixelPoint a;
    PixelPoint b;
};

enum class LabelOutcome {
    Placed,  // printed
    NoRoom,  // no candidate was free; nothing printed
    Fault,   // a floating-point fault: the redraw stops
};

struct LabelRequest {
    std::string_view text;
    Colour colour = kBlack;
    PixelBox bounds;                           // the label's box must lie within
    std::span<const PixelPoint> candidates;    // top-left corners, the preferred one first
    std::span<const PixelSegment> named = {};  // the lines this label stands for
    // Print at the least bad candidate when none is free (inside the bounds first, then no
    // other label, then not over a named line, then the fewest lines crossed).
    bool always = false;
};

class LabelPlacer {
public:
    // Texts keep this much air to their left and right neighbours.
    static constexpr double kPadding = 3.0;

    explicit LabelPlacer(Surface& surface) : surface_(surface) {}

    TextExtent Measure(std::string_view text) const { return surface_.MeasureText(text); }

    // A line already drawn (or about to be), which labels should leave visible.
    void KeepClear(PixelPoint a, PixelPoint b) { lines_.push_back({a, b}); }

    LabelOutcome Place(const LabelRequest& request);
    // One candidate, within `bounds`, never over another label.
    LabelOutcome Place(double px, double py, std::string_view text, Colour colour,
                       const PixelBox& bounds);

    // The boxes printed so far, in order.
    const std::vector<PixelBox>& Placed() const { return placed_; }

private:
    bool Free(const PixelBox& box) const;

    Surface& surface_;
    std::vector<PixelBox> placed_;
    std::vector<PixelSegment> lines_;
};

}  // namespace rs::drawing
