#include "drawing/ap_field_drawing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "text/tr.h"
#include "text/vb_format.h"

namespace rs::drawing {
namespace {

// Pixels between the frame and the ends of the plane, so that a point at an end is still
// seen and clicked.
constexpr double kInset = 12.0;

// The f-numbers with a tick along the bottom, and those that always carry a number.
constexpr std::array<double, 16> kFNumberTicks = {50, 25,  15,  10, 7,   5,   4,   3,
                                                  2,  1.5, 1.2, 1,  0.8, 0.7, 0.6, 0.5};
constexpr std::array<double, 4> kFNumberLabels = {50, 5, 1, 0.5};

// The types' own colours on screen (0xBBGGRR): dark enough for their names, none of them the
// highlight's green or the design's red, and different wherever two regions overlap (in plots
// from wide and low to narrow and high).
constexpr Colour kBlueish = 0xC8501E;
constexpr Colour kBrown = 0x004B96;
constexpr Colour kPurple = 0xA0288C;
constexpr Colour kTeal = 0x828200;
constexpr Colour kGrey = 0x505050;
constexpr Colour kOlive = 0x007878;
constexpr Colour kPink = 0x8C3CC8;
constexpr Colour kOrange = 0x007DEB;
constexpr std::array<Colour, 15> kLensColours = {kBlueish, kBrown, kPurple,  kTeal,    kBlueish,
                                                 kPurple,  kBrown, kBlueish, kBlueish, kBrown,
                                                 kGrey,    kGrey,  kOlive,   kPink,    kOrange};
constexpr std::array<Colour, 4> kMirrorColours = {kBlueish, kBrown, kPurple, kTeal};

Colour TypeColour(bool mirror, std::size_t index, const ApFieldDrawing& options) {
    if (!options.colours) return kBlack;
    if (mirror) return index < kMirrorColours.size() ? kMirrorColours[index] : kBlack;
    return index < kLensColours.size() ? kLensColours[index] : kBlack;
}

struct Box {
    double left, top, right, bottom;
    bool Overlaps(const Box& o) const {
        return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
};

bool Usable(const ApFieldLayout& layout) {
    const ScaleRect& b = layout.frame.box;
    return b.width > 2 * kInset && b.height > 2 * kInset && layout.frame.x.map.Valid() &&
           layout.frame.y.map.Valid();
}

std::optional<PixelPoint> PixelOf(const ApFieldLayout& layout, const analysis::PlotPoint& p) {
    const auto x = layout.frame.x.map.Pixel(p.a);
    const auto y = layout.frame.y.map.Pixel(p.angle);
    if (!x || !y) return std::nullopt;
    return PixelPoint{std::round(*x), std::round(*y)};
}

// The design's mark and the box it covers, when the design lies on the plane.
std::optional<PixelPoint> MarkAt(const ApFieldLayout& layout,
                                 const std::optional<analysis::PlotPoint>& design) {
    if (!design) return std::nullopt;
    const auto p = PixelOf(layout, *design);
    if (!p || !layout.frame.x.map.Covers(p->x) || !layout.frame.y.map.Covers(p->y)) {
        return std::nullopt;
    }
    return p;
}

constexpr double kRingRadius = 6.0;

Box MarkBox(const PixelPoint& p) {
    const double r = kRingRadius + 1;
    return {p.x - r, p.y - r, p.x + r, p.y + r};
}

// Names placed so that none covers another or the design's mark: at its position, else a text
// height above or below it, else beside the mark on either side; left out when all are taken.
// Every name stays inside the frame.
class NamePlacer {
public:
    NamePlacer(Surface& surface, const ScaleRect& frame, std::optional<Box> mark)
        : surface_(surface), frame_(frame), mark_(mark) {
        if (mark) placed_.push_back(*mark);
    }

    void Place(const std::string& name, double cx, double cy, Colour colour) {
        const TextExtent e = surface_.MeasureText(name);
        std::vector<PixelPoint> centres = {{cx, cy}, {cx, cy - e.height}, {cx, cy + e.height}};
        if (mark_) {
            centres.push_back({mark_->right + 1 + e.width / 2, cy});
            centres.push_back({mark_->left - 1 - e.width / 2, cy});
        }
        const double right = frame_.left + frame_.width, bottom = frame_.top + frame_.height;
        for (const PixelPoint& c : centres) {
            const double left = std::clamp(c.x - e.width / 2, frame_.left + 1,
                                           std::max(frame_.left + 1, right - 1 - e.width));
            const double top = std::clamp(c.y - e.height / 2, frame_.top + 1,
                                          std::max(frame_.top + 1, bottom - 1 - e.height));
            const Box box{left, top, left + e.width, top + e.height};
            if (std::any_of(placed_.begin(), placed_.end(),
                            [&](const Box& b) { return b.Overlaps(box); })) {
                continue;
            }
            placed_.push_back(box);
            surface_.Text(box.left, box.top, name, colour);
            return;
        }
    }

private:
    Surface& surface_;
    ScaleRect frame_;
    std::optional<Box> mark_;
    std::vector<Box> placed_;
};

// A type's outline: those under the cursor wider and, when highlighting, in green.
Pen RegionPen(bool mirror, const ApFieldDrawing& options, int index) {
    Pen pen{TypeColour(mirror, static_cast<std::size_t>(index), options), LineStyle::Solid, 1};
    if (std::find(options.highlighted.begin(), options.highlighted.end(), index) !=
        options.highlighted.end()) {
        pen.width = std::max(1, options.frameWidth);
        if (options.highlight) pen.colour = kGreen;
    }
    return pen;
}

// The design's point: a cross-hair over the plane, and a dot in a ring, found at a glance
// among the outlines.
void CrossHair(Surface& surface, const ApFieldLayout& layout,
               const std::optional<analysis::PlotPoint>& design) {
    const auto p = MarkAt(layout, design);
    if (!p) return;
    const AxisMap& x = layout.frame.x.map;
    const AxisMap& y = layout.frame.y.map;
    const Pen mark{kDesignMark, LineStyle::Solid, 1};
    surface.Line(x.from, p->y, x.to, p->y, mark);
    surface.Line(p->x, y.from, p->x, y.to, mark);
    surface.Circle(p->x, p->y, 2.5, kDesignMark, true);
    surface.Circle(p->x, p->y, kRingRadius, kDesignMark, false);
}

FrameAxis ApertureAxis(const ScaleRect& box, bool allNumbers) {
    const analysis::PlaneRange r = analysis::ApertureRange();
    FrameAxis axis{
        {r.lo, r.hi, AxisScale::Logarithmic, box.left + kInset, box.left + box.width - kInset},
        {},
        text::Tr("Blendenzahl [unendliche Objektweite]"),
        {}};
    for (const double n : kFNumberTicks) {
        const bool main =
            std::find(kFNumberLabels.begin(), kFNumberLabels.end(), n) != kFNumberLabels.end();
        const std::string label = main || allNumbers ? text::Format(n, n < 10 ? "0.0" : "0") : "";
        axis.ticks.push_back({1.0 / (2.0 * n), label, main ? 0 : 1});
    }
    // The decades of A, faintly.
    for (double a = r.lo * 10; a < r.hi; a *= 10) axis.grid.push_back(a);
    return axis;
}

FrameAxis FieldAxis(const ScaleRect& box, bool mirror) {
    const analysis::PlaneRange r = analysis::FieldRange(mirror);
    FrameAxis axis{
        {r.lo, r.hi, AxisScale::Logarithmic, box.top + box.height - kInset, box.top + kInset},
        {},
        text::Tr("Objektwinkel [halbes Feld]"),
        {}};
    axis.ticks = NiceTicks(axis.map, 8);
    for (const Tick& t : axis.ticks) {
        if (t.rank == 0) axis.grid.push_back(t.value);
    }
    return axis;
}

}  // namespace

ApFieldLayout LayOutApFieldPlot(const Surface& surface, const ScaleRect& area, bool mirror,
                                bool allNumbers) {
    ApFieldLayout layout;
    layout.mirror = mirror;
    const analysis::PlaneRange field = analysis::FieldRange(mirror);
    layout.frame.box = FrameBox(surface, area, TickLabel(field.hi, field.hi), false);
    layout.frame.x = ApertureAxis(layout.frame.box, allNumbers);
    layout.frame.y = FieldAxis(layout.frame.box, mirror);
    // The regions are shaped in whole pixels from the ends of the axes.
    const AxisMap& x = layout.frame.x.map;
    const AxisMap& y = layout.frame.y.map;
    layout.plane = {std::round(x.from), std::round(x.to), std::round(y.from), std::round(y.to)};
    for (const auto& outline : analysis::LensOutlines(mirror, layout.plane)) {
        std::vector<PixelPoint>& region = layout.regions.emplace_back();
        for (const analysis::PlotPixel& p : outline) region.push_back({p.x, p.y});
    }
    return layout;
}

void DrawApFieldPlot(Surface& surface, const ApFieldLayout& layout, const ApFieldDrawing& options) {
    surface.Clear();
    if (!Usable(layout)) return;
    DrawFrame(surface, layout.frame);

    // The types' regions, those under the cursor stronger, and the design's point.
    for (std::size_t i = 0; i < layout.regions.size(); ++i) {
        DrawClippedPolyline(surface, layout.frame.box, layout.regions[i],
                            RegionPen(layout.mirror, options, static_cast<int>(i)));
    }
    CrossHair(surface, layout, options.design);

    // The names last, over the outlines.
    std::optional<Box> mark;
    if (const auto p = MarkAt(layout, options.design)) mark = MarkBox(*p);
    NamePlacer names(surface, layout.frame.box, mark);
    const std::vector<analysis::LensClass>& types = analysis::LensClasses(layout.mirror);
    for (std::size_t i = 0; i < types.size(); ++i) {
        const analysis::LensClass& type = types[i];
        const Colour colour = TypeColour(layout.mirror, i, options);
        for (std::size_t k = 0; k < type.names.size() && k < type.labelPositions.size(); ++k) {
            const auto at = PixelOf(layout, type.labelPositions[k]);
            if (!at) continue;
            const std::string name =
                text::Tr(options.shortNames ? type.ShortName(k) : type.names[k]);
            // The leading blank of some names only set them off in a list.
            const auto first = name.find_first_not_of(' ');
            if (first == std::string::npos) continue;
            names.Place(name.substr(first), at->x, at->y, colour);
        }
    }
}

void DrawApFieldMarks(Surface& surface, const ApFieldLayout& layout,
                      const ApFieldDrawing& options) {
    if (!Usable(layout)) return;
    for (const int i : options.highlighted) {
        if (i < 0 || i >= static_cast<int>(layout.regions.size())) continue;
        DrawClippedPolyline(surface, layout.frame.box, layout.regions[static_cast<std::size_t>(i)],
                            RegionPen(layout.mirror, options, i));
    }
    CrossHair(surface, layout, options.design);
}

analysis::PlotPoint ApFieldPointAt(const ApFieldLayout& layout, double px, double py) {
    if (!Usable(layout)) return {};
    const AxisMap& x = layout.frame.x.map;
    const AxisMap& y = layout.frame.y.map;
    return {x.Covers(px) ? x.Value(px) : 0.0, y.Covers(py) ? y.Value(py) : 0.0};
}

}  // namespace rs::drawing
