#pragma once
// The frame of a plot of data against data: axes that map a data range onto pixels (linear or
// logarithmic), tick values and their numbers, axis titles, curves and outlines clipped to the
// frame, and the way back from a pixel to data for the read-out under the cursor. Every plot of
// the program (the aperture/field plot, the study plot) is drawn inside one of these, so their
// axes look and behave alike. All positions are surface pixels.
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "drawing/surface.h"

namespace rs::drawing {

enum class AxisScale { Linear, Logarithmic };

// A data range [lo, hi] laid onto the pixels [from, to]; to < from for a vertical axis whose
// values rise upwards. A logarithmic axis maps log10 of the value linearly.
struct AxisMap {
    double lo = 0.0;
    double hi = 1.0;
    AxisScale scale = AxisScale::Linear;
    double from = 0.0;
    double to = 1.0;

    // Finite ends, lo ≠ hi, both positive on a logarithmic axis, and from ≠ to.
    bool Valid() const;
    // The pixel of a value; nothing on an invalid axis, for a value that is not finite or not
    // positive on a logarithmic axis, or for one so far off that it is no pixel any more.
    std::optional<double> Pixel(double value) const;
    // The value at a pixel, also beyond the ends; NaN on an invalid axis.
    double Value(double pixel) const;
    // Whether a pixel lies between the axis' ends, the ends included.
    bool Covers(double pixel) const;
};

// One tick of an axis. Labels of a lower rank are written first; those of a higher rank only
// where they leave room.
struct Tick {
    double value = 0.0;
    std::string label;  // empty: a short tick without a number
    int rank = 0;       // 0 the main numbers, 1 those written where there is room
};

// Ticks at round values: on a linear axis in steps of 1, 2 or 5 times a power of ten, at most
// `maxLabels` of them; on a logarithmic axis a numbered tick at every power of ten, 2 and 5
// numbered at rank 1, and short ticks at the other whole multiples while there are at most
// twelve decades (beyond that, only every how-many-th power so that `maxLabels` remain).
std::vector<Tick> NiceTicks(const AxisMap& axis, int maxLabels);

// The number of a tick value, in as many decimals as a step of `step` needs (exponent form for
// very large or very small values).
std::string TickLabel(double value, double step);

// Which labels to write, given the pixel interval each would cover along its axis and its rank:
// the rank-0 labels, every other one dropped until none overlaps the next, then each rank-1
// label that overlaps none already kept. Indices in ascending order.
struct LabelSpan {
    double lo = 0.0;
    double hi = 0.0;
    int rank = 0;
};
std::vector<std::size_t> KeptLabels(std::span<const LabelSpan> spans);

struct FrameAxis {
    AxisMap map;
    std::vector<Tick> ticks;
    std::string title;         // shortened to its first word, or left out, where it does not fit
    std::vector<double> grid;  // values with a faint line across the frame (not at the ends)
};

struct PlotFrame {
    ScaleRect box;                // the frame's rectangle; curves are clipped to it
    FrameAxis x;                  // along the bottom
    FrameAxis y;                  // along the left side
    std::optional<FrameAxis> y2;  // a second quantity, along the right side
};

// Room the sides of a frame need for their ticks, numbers and titles in the surface's font, so
// that the box can be laid out inside an area. `widestLabel` is the widest number a vertical
// axis writes.
double BottomAxisHeight(const Surface& surface);
double SideAxisWidth(const Surface& surface, const std::string& widestLabel);

// The box inside `area` that leaves room for a bottom axis, a left axis and, when asked, a right
// axis with numbers as wide as `widestLabel`.
ScaleRect FrameBox(const Surface& surface, const ScaleRect& area, const std::string& widestLabel,
                   bool rightAxis);

// The frame's outline, grid lines, ticks outside the box, the numbers that fit and the titles
// (the left title turned by 90°).
void DrawFrame(Surface& surface, const PlotFrame& frame);

// The lines through the points that lie inside the box; a point that is not finite ends a piece
// and the next finite point starts a new one, so a gap is never bridged.
void DrawClippedPolyline(Surface& surface, const ScaleRect& box, std::span<const PixelPoint> points,
                         const Pen& pen);

struct DataPoint {
    double x = 0.0;
    double y = 0.0;
};

// A curve in data values through the frame's x axis and its y axis (or its second y axis),
// clipped to the box; points without a value (NaN) or without a place on a logarithmic axis
// leave a gap.
void DrawCurve(Surface& surface, const PlotFrame& frame, std::span<const DataPoint> points,
               const Pen& pen, bool rightAxis = false);
// The same curve dashed (drawn in solid pieces, so every surface shows the same dashes).
void DrawDashedCurve(Surface& surface, const PlotFrame& frame, std::span<const DataPoint> points,
                     const Pen& pen, bool rightAxis = false);

// The data values under a pixel: nothing outside the box.
struct ReadOut {
    double x = 0.0;
    double y = 0.0;
    std::optional<double> y2;
};
std::optional<ReadOut> ReadOutAt(const PlotFrame& frame, double px, double py);

// The index of the curve point drawn nearest to the pixel (in pixels); nothing for a curve
// without a drawn point.
std::optional<std::size_t> NearestPoint(const PlotFrame& frame, std::span<const DataPoint> points,
                                        double px, double py, bool rightAxis = false);

}  // namespace rs::drawing
