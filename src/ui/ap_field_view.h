#pragma once
// The aperture/field plot as the window shows it: which catalogue and point it draws, what the
// cursor over it reads out, and a click into it. Both plots, the small one in the extras and the
// large one in a window of its own, go through these, so they always agree.
#include <optional>
#include <string>
#include <vector>

#include "analysis/lens_ideas.h"
#include "drawing/ap_field_drawing.h"
#include "ui/main_window.h"
#include "ui/window_state.h"

namespace rs::ui {

// What a plot draws besides its fixed regions.
struct ApFieldPlotView {
    bool mirror = false;                        // the mirror types, and the field axis to 10°
    std::optional<analysis::PlotPoint> design;  // the design's cross-hair
    friend bool operator==(const ApFieldPlotView&, const ApFieldPlotView&) = default;
};
ApFieldPlotView ApFieldPlotOf(const WindowState& state);

// What the window shows with the cursor at pixel (px, py) of a plot laid out as `plot`.
// Everything empty away from the plot.
struct ApFieldHover {
    analysis::PlotPoint point;  // under the cursor; each coordinate 0 off its axis
    std::vector<int> classes;   // the types whose outlines on this plot hold the cursor (at most
                                // two, catalogue order), to highlight
    std::string lensTypes;      // lblApFldLensClass: " Tessar | aufgesp. Triplet"
    std::string fNumber;        // lblApFldFNosEff: "F/2.0"; empty off the aperture axis
    std::string readOut;        // angle in its display unit, F, F(eff), NA'; empty where a click
                                // would not be accepted
};
ApFieldHover ApFieldHoverAt(const WindowState& state, const drawing::ApFieldLayout& plot, double px,
                            double py);

// Mouse-up over the plane point `point`: the design moves to that aperture and field
// (MainWindow::ApFieldParamsChng, which refuses what lies off the axes).
void ApFieldClick(MainWindow& window, const analysis::PlotPoint& point);

}  // namespace rs::ui
