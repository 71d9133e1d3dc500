#pragma once
// The plot of a measured beam inside a plot frame: the positions along the bottom, the half
// diameters ±d/2 up and down the left side, each measured point at both of its edges, the fitted
// caustic ±d(z)/2 through them and the waist marked where the fit puts it. A second axis (the
// diode's) is drawn in a second colour with dotted curves, so the two stay told apart in print.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "beam/caustic_fit.h"
#include "drawing/plot_frame.h"
#include "drawing/surface.h"

namespace rs::drawing {

inline constexpr std::array<Colour, 2> kCausticColours = {0xC8501E, 0x007DEB};

struct CausticPlotAxis {
    std::vector<DataPoint> measured;      // (z, d) in mm
    std::optional<beam::CausticFit> fit;  // nothing: only the points are drawn
};

struct CausticPlotData {
    std::vector<CausticPlotAxis> axes;  // one or two
    // Both axes of the plot are numbered in display units: mm per unit of z and of d.
    double zFactor = 1.0;
    double dFactor = 1.0;
    std::string zTitle;
    std::string dTitle;
};

// The frame laid out in `area`: the z range covers every point and every fitted waist with a
// little room; the vertical range is symmetric about the axis and covers every point and the
// fitted curves at the ends of the z range. A plot without any point gets a unit range.
PlotFrame LayOutCausticPlot(const Surface& surface, const ScaleRect& area,
                            const CausticPlotData& data);

// Clears the surface and draws the frame, the points, the fitted curves and the waists.
void DrawCausticPlot(Surface& surface, const PlotFrame& frame, const CausticPlotData& data);

}  // namespace rs::drawing
