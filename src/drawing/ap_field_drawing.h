#pragma once
// The aperture/field plot as drawing commands, inside a plot frame: the f-numbers along the
// bottom, the half-field angles along the left side, the regions of the lens (or mirror) types
// with their names, and the design's point as a cross-hair. Everything is clipped to the frame.
#include <optional>
#include <vector>

#include "analysis/lens_ideas.h"
#include "drawing/plot_frame.h"
#include "drawing/surface.h"

namespace rs::drawing {

inline constexpr Colour kDesignMark = 0x0000D0;  // the design's cross-hair, red

struct ApFieldDrawing {
    std::optional<analysis::PlotPoint> design;  // the design's point, marked when inside
    std::vector<int> highlighted;               // types under the cursor or at the design
    int frameWidth = 2;                         // their outline's width
    bool highlight = true;                      // in green, else in their own colour
    bool shortNames = false;                    // the short names, for a small plot
    // Each type's outline and names in a colour of its own, so that overlapping regions and
    // their names are told apart on screen; otherwise in black.
    bool colours = false;
};

// Where a plot lies on the surface: its frame and axes, the pixels of the plane's ends on them,
// and each type's outline built for those pixels (analysis::LensOutlines), which the hit test
// of the types under a pixel (analysis::LensClassesAt with `plane`) shares.
struct ApFieldLayout {
    PlotFrame frame;
    bool mirror = false;
    analysis::PlaneToPixels plane;
    // One outline per type of analysis::LensClasses(mirror); empty where the plot cannot show it.
    std::vector<std::vector<PixelPoint>> regions;
};

// The plot laid out in `area` of the surface (measured with its font): room for the axes
// below and left, the plane inset by a few pixels from the frame. `allNumbers` writes a number
// at every f-number tick where it leaves room, not only at 50, 5, 1 and 0.5.
ApFieldLayout LayOutApFieldPlot(const Surface& surface, const ScaleRect& area, bool mirror,
                                bool allNumbers);

// Clears the surface and draws the plot: the frame with its axes, every type's outline and names
// (a name that would cover another or the design's mark is moved off it, or left out when there
// is no room), and the design's cross-hair.
void DrawApFieldPlot(Surface& surface, const ApFieldLayout& layout, const ApFieldDrawing& options);

// What changes while the mouse moves: the types of `options.highlighted` outlined again as
// DrawApFieldPlot outlines them, and the design's cross-hair, drawn without clearing. A window
// may keep the plot drawn with the same design and no highlights as an image and repaint only
// these marks over it.
void DrawApFieldMarks(Surface& surface, const ApFieldLayout& layout, const ApFieldDrawing& options);

// The point of the plane under a surface pixel; each coordinate 0 off its axis.
analysis::PlotPoint ApFieldPointAt(const ApFieldLayout& layout, double px, double py);

}  // namespace rs::drawing
