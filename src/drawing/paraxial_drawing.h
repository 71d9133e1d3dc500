#pragma once
// The to-scale picture of the solved thin system: axis, ray fans or construction rays, object
// and image arrows with their labels, principal planes with the element symbol, and on request
// the focal and nodal points.
#include <optional>

#include "analysis/thick_lens.h"
#include "drawing/drawing_scale.h"
#include "drawing/surface.h"
#include "engine/paraxial_design.h"

namespace rs::drawing {

struct ParaxialDrawingOptions {
    bool hideRemoteConjugates = false;  // hide a conjugate more than ten times farther out
    bool drawPoints = false;            // focal, principal and nodal points with labels
    bool constructionRays = false;      // the three construction rays instead of the fans
    bool dragging = false;              // a feature of the picture is being dragged
    // A catalogue lens held by the design: its real outline is drawn around the principal
    // planes, to scale.
    std::optional<analysis::ThickLens> lens = std::nullopt;
    // A solved design to compare with: its element, rays and arrows in light grey behind the
    // picture, at the picture's scale, without labels.
    const engine::ParaxialDesign* reference = nullptr;
};

// Where the features that can be grabbed were drawn (world mm), with the scale of the redraw
// that registered them; a drag maps mouse pixels with exactly this scale.
struct ParaxialTouchPoints {
    bool registered = false;
    DrawingScale scale;
    float axisY = 0.0f;
    float objectTipY = 0.0f;        // u
    float imageTipY = 0.0f;         // u'
    float apertureTopY = 0.0f;      // +r
    float apertureBottomY = 0.0f;   // -r
    float objectX = 0.0f;           // a
    float frontFocusX = 0.0f;       // F
    float principalX = 0.0f;        // P, the element
    float secondPrincipalX = 0.0f;  // P' = HH'
    float rearFocusX = 0.0f;        // F'
    float imageX = 0.0f;            // HH' + a'
};

enum class RedrawOutcome {
    Drawn,      // the complete picture
    NotSolved,  // no valid solution: the surface was only cleared
    Stopped,    // a floating-point fault ended the redraw; what was drawn stays
};

// The world range of the picture for the current solution (the extents are symmetric about
// the axis).
DrawingExtents ComputeParaxialExtents(const engine::ParaxialDesign& design,
                                      const ParaxialDrawingOptions& options);

// Clears the surface and draws the solved system. Outside a drag the extents are recomputed
// and the touch points registered; while dragging both are left as the last redraw made them
// (extents that were never computed are computed once).
RedrawOutcome RedrawParaxial(Surface& surface, const engine::ParaxialDesign& design,
                             const ParaxialDrawingOptions& options, DrawingExtents& extents,
                             ParaxialTouchPoints& touch);

}  // namespace rs::drawing
