#pragma once
// The study plot: one or two results of the design against a parameter run over a range, drawn
// in the shared plot frame (the parameter along the bottom, the first result on the left axis,
// a second on the right one). A result's second diode axis is drawn dotted, as the beam drawing
// draws that axis. The parameter's present value is a vertical line. What is drawn is decided
// by the window's study logic; this only lays it out and paints it.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "drawing/plot_frame.h"
#include "drawing/surface.h"

namespace rs::drawing {

inline constexpr Colour kStudyFirst = 0xB4501E;   // the first result, blue
inline constexpr Colour kStudySecond = 0x1E6ED2;  // the second result, orange
inline constexpr Colour kStudyMark = 0x0000D0;    // the present value, red

// One curve: its points in display units (y NaN where the design has no such number). A further
// set of curves (another design's, say) is more series with a pen of their own.
struct StudySeries {
    std::vector<DataPoint> points;
    bool rightAxis = false;   // the second result
    bool secondAxis = false;  // the second diode axis: dotted
    bool reference = false;   // the reference design's curve: dashed, never picked
};

struct StudyPlotData {
    std::string xTitle;  // "a [mm]"
    std::string yTitle;
    std::string y2Title;  // empty: no right axis
    AxisScale xScale = AxisScale::Linear;
    double xFrom = 0.0;  // the range run over
    double xTo = 1.0;
    std::vector<StudySeries> series;
    std::optional<double> current;  // the parameter's present value
    std::string note;               // written in the frame when nothing can be drawn
};

// The value range a vertical axis shows for the curves on it: every value of smooth curves,
// but not the far ends of a curve that runs off towards a pole, which would squeeze the rest to
// a line. Padded a little; a constant curve gets a range around its value.
struct ValueRange {
    double lo = 0.0;
    double hi = 1.0;
};
ValueRange ShownRange(const std::vector<StudySeries>& series, bool rightAxis);

// The frame laid out in `area` of the surface, measured with its font.
PlotFrame LayOutStudyPlot(const Surface& surface, const ScaleRect& area, const StudyPlotData& data);

// Clears the surface and draws the frame, the curves and the present value. Two neighbouring
// points on opposite sides beyond the frame (a pole between them) are not joined.
void DrawStudyPlot(Surface& surface, const PlotFrame& frame, const StudyPlotData& data);

// The whole picture in `area`: laid out and drawn as above. The window's saved pictures, the
// printed page and the command line's --plot all paint through this.
void DrawStudyPicture(Surface& surface, const ScaleRect& area, const StudyPlotData& data);

// The curve point drawn nearest to a pixel: which series and which point.
struct StudyPick {
    std::size_t series = 0;
    std::size_t point = 0;
};
std::optional<StudyPick> NearestStudyPoint(const PlotFrame& frame, const StudyPlotData& data,
                                           double px, double py);

}  // namespace rs::drawing
