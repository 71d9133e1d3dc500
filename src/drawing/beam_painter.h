#pragma once
// What every part of the beam picture draws through: the painter that remembers the first fault
// and places every text through the one label placer, and the axis a part is drawn for.
#include <span>
#include <string_view>

#include "drawing/beam_layout.h"
#include "engine/numbers.h"

namespace rs::drawing::beam_picture {

// Everything of one axis that is drawn onto its frames.
struct AxisPicture {
    AxisData data;
    const BeamAxisFrame* frame = nullptr;
    bool shared = false;              // both diode axes in one area
    const AxisData* first = nullptr;  // axis 0, when this is axis 1 drawn into its area
};

// Draws through the primitives and remembers the first fault; after it nothing more is drawn.
// Every text goes through the label placer, which refuses a text that would overlap one printed
// before.
class Painter {
public:
    Painter(Surface& surface, const beam::BeamDesign& design, const BeamDrawingOptions& options)
        : surface_(surface), d_(design), o_(options), labels_(surface) {}

    bool ok() const { return ok_; }

    void Line(const DrawingFrame& f, double x1, double y1, double x2, double y2, const Pen& pen) {
        if (ok_) {
            ok_ = DrawLine(surface_, f, engine::NarrowToFloat(x1), engine::NarrowToFloat(y1),
                           engine::NarrowToFloat(x2), engine::NarrowToFloat(y2), pen);
        }
    }

    void Curve(const DrawingFrame& f, std::span<const WorldPoint> points, const Pen& pen) {
        if (ok_) ok_ = DrawPolyline(surface_, f, points, pen);
    }

    void Box(const DrawingFrame& f, double x1, double y1, double x2, double y2) {
        if (ok_) {
            ok_ = DrawBox(surface_, f, engine::NarrowToFloat(x1), engine::NarrowToFloat(y1),
                          engine::NarrowToFloat(x2), engine::NarrowToFloat(y2), kBlack, false);
        }
    }

    TextExtent Measure(std::string_view text) const { return surface_.MeasureText(text); }

    // Prints the text with its top-left corner at the first of the pixel points where it lies
    // inside `bounds` and overlaps no text printed before; true when printed.
    bool Label(std::span<const PixelPoint> at, std::string_view text, Colour colour,
               const PixelBox& bounds) {
        if (!ok_) return false;
        const LabelOutcome outcome = labels_.Place({text, colour, bounds, at});
        ok_ = outcome != LabelOutcome::Fault;
        return outcome == LabelOutcome::Placed;
    }
    bool Label(double px, double py, std::string_view text, Colour colour, const PixelBox& bounds) {
        const PixelPoint at{px, py};
        return Label({&at, 1}, text, colour, bounds);
    }

    const beam::BeamDesign& design() const { return d_; }
    const BeamDrawingOptions& options() const { return o_; }

private:
    Surface& surface_;
    const beam::BeamDesign& d_;
    const BeamDrawingOptions& o_;
    LabelPlacer labels_;
    bool ok_ = true;
};

// The second diode axis in the shared area is told apart by its dotted lines, as is the
// virtual part of a beam.
inline Pen AxisPen(const AxisPicture& ap, Colour colour, bool isVirtual = false) {
    return {colour, VirtualStyle(isVirtual || ap.first != nullptr), 1};
}

// The colour of the real beam (M > 1) on the object or the image side.
inline Colour MColour(bool objectSide, bool printing) {
    return objectSide ? (printing ? kObjectBeamMPrint : kObjectBeamMScreen)
                      : (printing ? kImageBeamMPrint : kImageBeamMScreen);
}

}  // namespace rs::drawing::beam_picture
