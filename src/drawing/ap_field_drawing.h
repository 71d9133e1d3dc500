#pragma once
// The aperture/field plot as drawing commands: the regions of the lens (or mirror) types with
// their names, the design's point as a cross-hair, and the two axis strips that go with a plot
// (f-numbers below it, half-field angles beside it). Plot pixels are measured from the top-left
// corner of the surface's scale rectangle.
#include <optional>
#include <vector>

#include "analysis/lens_ideas.h"
#include "drawing/surface.h"

namespace rs::drawing {

inline constexpr Colour kDesignMark = 0x0000D0;  // the design's cross-hair, red
inline constexpr Colour kPlotGrid = 0xD8D8D8;

struct ApFieldDrawing {
    std::optional<analysis::PlotPoint> design;  // the design's point, marked when inside
    std::vector<int> highlighted;               // types under the cursor (LensClassesAt)
    int frameWidth = 2;                         // their outline's width
    bool highlight = true;                      // in green, else in their own colour
    bool shortNames = false;                    // the short names, for a small plot
    // Each type's outline and names in a colour of its own, so that overlapping regions and
    // their names are told apart on screen; otherwise in the catalogue's outline colour.
    bool colours = false;
};

// Clears the surface and draws the plot: the decade grid, every type's outline and names (a
// name that would cover another is moved off it, or left out when there is no room), and the
// design's cross-hair. Nothing but the clear on a plot without usable axes.
void DrawApFieldPlot(Surface& surface, const analysis::ApFieldPlot& plot,
                     const ApFieldDrawing& options);

// What changes over a plot that stays: the types of `options.highlighted` outlined again as
// DrawApFieldPlot outlines them, and the design's cross-hair, drawn over the plot without clearing
// it and without names. Over a plot drawn with neither highlights nor a design, so a window may
// keep that plot as an image and repaint only these marks while the mouse moves.
void DrawApFieldMarks(Surface& surface, const analysis::ApFieldPlot& plot,
                      const ApFieldDrawing& options);

// The strip below a plot of the same width: ticks at the f-numbers 50 … 0.5, numbers at 50, 5,
// 1 and 0.5 (or at every tick where it leaves room), and the title "Blendenzahl [unendliche
// Objektweite]" (only its first word where the strip is too short for it).
void DrawApertureStrip(Surface& surface, const analysis::PlotAxis& axis, bool allNumbers);

// The height the aperture strip needs for its ticks, numbers and title in the surface's font.
double ApertureStripHeight(const Surface& surface);

// The width the field strip needs for its title and numbers in the surface's font.
double FieldStripWidth(const Surface& surface);

// The strip left of a plot of the same height: ticks at 1…10 times each power of ten, numbers at
// the powers, and the title "Objektwinkel [halbes Feld]" turned by 90° (only its first word where
// the strip is too short for it).
void DrawFieldStrip(Surface& surface, const analysis::PlotAxis& axis);

}  // namespace rs::drawing
