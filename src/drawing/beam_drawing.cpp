#include "drawing/beam_drawing.h"

#include <vector>

#include "drawing/beam_envelopes.h"
#include "drawing/beam_insets.h"
#include "drawing/beam_labels.h"
#include "drawing/beam_layout.h"
#include "drawing/beam_painter.h"
#include "drawing/lens_outline.h"
#include "engine/numbers.h"
#include "text/tr.h"

namespace rs::drawing {

namespace {

using beam::AxialRange;
using beam::BeamDesign;
using engine::NarrowToFloat;
using namespace beam_picture;

// A text as high as every label of the picture.
constexpr const char* kHeaderSample = text::TrNoop("Achse 1");

// Outside a drag every axis's frame is made anew from the one range of all drawn axes, high
// enough for all their beams; during a drag the frames stay frozen, and only those never made
// are made, once, from their own range and beam. False when a scale cannot be made.
bool MakeFrames(const BeamDesign& design, const std::vector<AxisData>& data,
                const std::array<ScaleRect, 2>& areas, double textHeight, bool dragging,
                BeamDrawingMemory& memory) {
    if (!dragging) {
        const AxialRange range = BeamXRange(design);
        const double half = FrameHalfHeight(data, range, design.WavelengthMm());
        memory.axes = {};
        for (const AxisData& a : data) {
            const auto frame =
                MakeFrame(areas[static_cast<std::size_t>(a.axis)], range, half, textHeight);
            if (!frame) return false;
            memory.axes[static_cast<std::size_t>(a.axis)] = *frame;
        }
        return true;
    }
    for (const AxisData& a : data) {
        BeamAxisFrame& frame = memory.axes[static_cast<std::size_t>(a.axis)];
        if (frame.defined) continue;
        const auto made =
            MakeFrame(areas[static_cast<std::size_t>(a.axis)], ChoiceRange(design, a.axis),
                      a.m * a.radiusAtElement, textHeight);
        if (!made) return false;
        frame = *made;
    }
    return true;
}

// Lines stay below the header row. While dragging a feature may be pulled beyond the frozen
// range: the clip then spans the whole width of the axis's area (the surface's, but for the
// other axis's half when the two stand side by side).
void ClipMainFrame(BeamAxisFrame& frame, bool dragging) {
    const ScaleRect& area = frame.area;
    frame.main.clip = MakeClipRect(frame.main.scale, NarrowToFloat(area.top + frame.header),
                                   NarrowToFloat(area.top + area.height), dragging,
                                   NarrowToFloat(area.left), NarrowToFloat(area.left + area.width));
}

// The held lens around axis 0's principal planes, behind the envelopes.
void DrawHeldLens(Painter& painter, const AxisPicture& ap) {
    const auto& lens = painter.options().lens;
    if (!lens || ap.data.axis != 0) return;
    const double first = FirstVertexX(*lens, ap.data.p);
    for (const OutlinePath& path : LensOutline(*lens, first, OutlineHalves::Upper)) {
        for (std::size_t k = 1; k < path.size(); ++k) {
            painter.Line(ap.frame->main, path[k - 1].x, path[k - 1].y, path[k].x, path[k].y,
                         {kLensOutlineColour});
        }
    }
}

}  // namespace

RedrawOutcome RedrawBeam(Surface& surface, const BeamDesign& design,
                         const BeamDrawingOptions& options, BeamDrawingMemory& memory) {
    surface.Clear();
    if (!design.beamMode || !AxisValid(design, 0)) {
        // Nothing drawn, nothing to grab; a drag under way keeps what it grabbed.
        if (!options.dragging) memory.touch.registered = false;
        return RedrawOutcome::NotSolved;
    }
    std::vector<AxisData> data;
    for (int axis : DrawnAxes(design)) data.push_back(Gather(design, axis));

    const ScaleRect whole = surface.Scale();
    const bool frozen = options.dragging && memory.axes[0].defined;
    if (!frozen) memory.layout = BeamLayoutFor(design, whole);
    const bool shared = memory.layout == BeamLayout::Single && data.size() > 1;
    const double textHeight = surface.MeasureText(text::Tr(kHeaderSample)).height;
    if (!MakeFrames(design, data, AreasFor(memory.layout, whole), textHeight, options.dragging,
                    memory)) {
        return RedrawOutcome::Stopped;
    }

    Painter painter(surface, design, options);
    for (const AxisData& a : data) {
        BeamAxisFrame& frame = memory.axes[static_cast<std::size_t>(a.axis)];
        ClipMainFrame(frame, options.dragging);
        if (!options.dragging && a.axis == 0) RegisterTouch(memory.touch, frame.main.scale, a);
        const AxisPicture ap{a, &frame, shared, shared && a.axis == 1 ? &data.front() : nullptr};
        if (options.reference) DrawReferenceEnvelopes(painter, ap, *options.reference);
        DrawHeldLens(painter, ap);
        DrawAxisAndLabels(painter, ap);
        DrawEnvelopes(painter, ap);
        // A shared area shows both axes' waists in axis 0's pair of insets.
        if (frame.insets && !ap.first) DrawInsets(painter, ap, data);
    }
    return painter.ok() ? RedrawOutcome::Drawn : RedrawOutcome::Stopped;
}

}  // namespace rs::drawing
