#include "drawing/ap_field_drawing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <string_view>

#include "drawing/drawing_scale.h"
#include "text/vb_format.h"

namespace rs::drawing {
namespace {

using analysis::PlotAxis;

// The f-numbers of the aperture strip, and those that carry a number.
constexpr std::array<double, 16> kFNumberTicks = {50, 25,  15,  10, 7,   5,   4,   3,
                                                  2,  1.5, 1.2, 1,  0.8, 0.7, 0.6, 0.5};
constexpr std::array<double, 4> kFNumberLabels = {50, 5, 1, 0.5};
constexpr double kTickLength = 4.0;

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

Colour TypeColour(const analysis::LensClass& type, bool mirror, std::size_t index,
                  const ApFieldDrawing& options) {
    if (!options.colours) return type.outline;
    if (mirror) return index < kMirrorColours.size() ? kMirrorColours[index] : type.outline;
    return index < kLensColours.size() ? kLensColours[index] : type.outline;
}

struct Box {
    double left, top, right, bottom;
    bool Overlaps(const Box& o) const {
        return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
};

// Plot pixels to surface pixels.
struct Origin {
    double x = 0.0;
    double y = 0.0;
    PixelPoint operator()(double px, double py) const { return {x + px, y + py}; }
};

Origin OriginOf(const Surface& surface) {
    const ScaleRect s = surface.Scale();
    return {s.left, s.top};
}

void Segment(Surface& surface, const Origin& o, double x1, double y1, double x2, double y2,
             const Pen& pen) {
    const PixelPoint a = o(x1, y1), b = o(x2, y2);
    surface.Line(a.x, a.y, b.x, b.y, pen);
}

// Names placed so that none covers another: at its position, else a text height above or below
// it; left out when all three are taken. A name near an edge is moved inside the plot, where it
// would otherwise be cut.
class NamePlacer {
public:
    NamePlacer(Surface& surface, const Origin& origin, double width, double height)
        : surface_(surface), origin_(origin), width_(width), height_(height) {}

    void Place(const std::string& name, double cx, double cy, Colour colour) {
        const TextExtent e = surface_.MeasureText(name);
        const double left = std::clamp(cx - e.width / 2, 0.0, std::max(0.0, width_ - e.width));
        for (const double shift : {0.0, -e.height, e.height}) {
            const double top =
                std::clamp(cy - e.height / 2 + shift, 0.0, std::max(0.0, height_ - e.height));
            const Box box{left, top, left + e.width, top + e.height};
            bool free = true;
            for (const Box& b : placed_) free = free && !b.Overlaps(box);
            if (!free) continue;
            placed_.push_back(box);
            const PixelPoint at = origin_(box.left, box.top);
            surface_.Text(at.x, at.y, name, colour);
            return;
        }
    }

private:
    Surface& surface_;
    Origin origin_;
    double width_;
    double height_;
    std::vector<Box> placed_;
};

bool Usable(const PlotAxis& axis) {
    return axis.Usable() > 0;
}

// A type's outline: those under the cursor wider and, when highlighting, in green.
Pen RegionPen(const analysis::LensClass& type, bool mirror, const ApFieldDrawing& options,
              int index) {
    Pen pen{TypeColour(type, mirror, static_cast<std::size_t>(index), options), LineStyle::Solid,
            1};
    if (std::find(options.highlighted.begin(), options.highlighted.end(), index) !=
        options.highlighted.end()) {
        pen.width = std::max(1, options.frameWidth);
        if (options.highlight) pen.colour = kGreen;
    }
    return pen;
}

void Outline(Surface& surface, const Origin& o, const std::vector<PixelPoint>& outline,
             const Pen& pen) {
    if (outline.empty()) return;
    // The outline's last point is its first: the polygon closes itself.
    std::vector<PixelPoint> shifted;
    shifted.reserve(outline.size());
    for (const PixelPoint& p : outline) shifted.push_back(o(p.x, p.y));
    surface.Polyline(shifted, pen);
}

// The design's point: a cross-hair over the whole plot, and a ring around the point.
void CrossHair(Surface& surface, const analysis::ApFieldPlot& plot, const Origin& o,
               const std::optional<analysis::PlotPoint>& design) {
    if (!design) return;
    const double left = plot.x.margin, right = plot.x.length - plot.x.margin;
    const double top = plot.y.margin, bottom = plot.y.length - plot.y.margin;
    const auto x = analysis::AxisPosition(plot.x, design->a);
    const auto y = analysis::AxisPosition(plot.y, design->angle);
    if (!x || !y || *x < left || *x > right || *y < top || *y > bottom) return;
    const Pen mark{kDesignMark, LineStyle::Solid, 1};
    Segment(surface, o, left, *y, right, *y, mark);
    Segment(surface, o, *x, top, *x, bottom, mark);
    // A dot in a ring: found at a glance among the outlines.
    const PixelPoint c = o(*x, *y);
    surface.Circle(c.x, c.y, 2.5, kDesignMark, true);
    surface.Circle(c.x, c.y, 6, kDesignMark, false);
}

// An axis title along `room` pixels: whole, or its first word where the whole would be cut (a
// small plot), or nothing where not even that fits.
std::string FittingTitle(const Surface& surface, std::string_view title, double room) {
    for (const std::string_view t : {title, title.substr(0, title.find(' '))}) {
        if (surface.MeasureText(t).width <= room) return std::string(t);
    }
    return {};
}

}  // namespace

void DrawApFieldPlot(Surface& surface, const analysis::ApFieldPlot& plot,
                     const ApFieldDrawing& options) {
    surface.Clear();
    if (!Usable(plot.x) || !Usable(plot.y)) return;
    const Origin o = OriginOf(surface);
    const double left = plot.x.margin, right = plot.x.length - plot.x.margin;
    const double top = plot.y.margin, bottom = plot.y.length - plot.y.margin;

    // The decades, faintly, and the frame.
    const Pen grid{kPlotGrid, LineStyle::Dotted, 1};
    for (int k = 1; k < plot.x.decades; ++k) {
        if (const auto x = analysis::AxisPosition(plot.x, plot.x.minValue * std::pow(10.0, k))) {
            Segment(surface, o, *x, top, *x, bottom, grid);
        }
    }
    for (int k = 1; k < plot.y.decades; ++k) {
        if (const auto y = analysis::AxisPosition(plot.y, plot.y.minValue * std::pow(10.0, k))) {
            Segment(surface, o, left, *y, right, *y, grid);
        }
    }
    const PixelPoint a = o(left, top), b = o(right, bottom);
    surface.Box(a.x, a.y, b.x, b.y, 0x909090, false);

    // The types' regions, those under the cursor stronger, and the design's point.
    const std::vector<analysis::LensClass>& types = analysis::LensClasses(plot.mirror);
    for (std::size_t i = 0; i < plot.regions.size() && i < types.size(); ++i) {
        Outline(surface, o, plot.regions[i],
                RegionPen(types[i], plot.mirror, options, static_cast<int>(i)));
    }
    CrossHair(surface, plot, o, options.design);

    // The names last, over the outlines.
    NamePlacer names(surface, o, plot.x.length, plot.y.length);
    for (std::size_t i = 0; i < types.size(); ++i) {
        const analysis::LensClass& type = types[i];
        const Colour colour = options.colours ? TypeColour(type, plot.mirror, i, options) : kBlack;
        for (std::size_t k = 0; k < type.names.size() && k < type.labelPositions.size(); ++k) {
            const auto x = analysis::AxisPosition(plot.x, type.labelPositions[k].a);
            const auto y = analysis::AxisPosition(plot.y, type.labelPositions[k].angle);
            if (!x || !y) continue;
            const std::string& name = options.shortNames ? type.ShortName(k) : type.names[k];
            // The leading blank of some names only set them off in a list.
            const auto first = name.find_first_not_of(' ');
            if (first == std::string::npos) continue;
            names.Place(name.substr(first), *x, *y, colour);
        }
    }
}

void DrawApFieldMarks(Surface& surface, const analysis::ApFieldPlot& plot,
                      const ApFieldDrawing& options) {
    if (!Usable(plot.x) || !Usable(plot.y)) return;
    const Origin o = OriginOf(surface);
    const std::vector<analysis::LensClass>& types = analysis::LensClasses(plot.mirror);
    for (const int i : options.highlighted) {
        if (i < 0 || i >= static_cast<int>(plot.regions.size()) ||
            i >= static_cast<int>(types.size())) {
            continue;
        }
        const auto k = static_cast<std::size_t>(i);
        Outline(surface, o, plot.regions[k], RegionPen(types[k], plot.mirror, options, i));
    }
    CrossHair(surface, plot, o, options.design);
}

void DrawApertureStrip(Surface& surface, const PlotAxis& axis, bool allNumbers) {
    surface.Clear();
    if (!Usable(axis)) return;
    const Origin o = OriginOf(surface);
    const double height = surface.MeasureText("0").height;
    for (const double n : kFNumberTicks) {
        if (const auto x = analysis::AxisPosition(axis, 1.0 / (2.0 * n))) {
            Segment(surface, o, *x, 0, *x, kTickLength, {});
        }
    }
    // The main numbers first; with all numbers the others where they leave a gap to those
    // already written (towards 0.5 the ticks crowd together).
    std::vector<Box> written;
    const auto number = [&](double n) {
        const auto x = analysis::AxisPosition(axis, 1.0 / (2.0 * n));
        if (!x) return;
        const std::string text = text::Format(n, n < 10 ? "0.0" : "0");
        const double w = surface.MeasureText(text).width;
        // The end numbers stay inside the strip.
        const double left = std::clamp(*x - w / 2, 0.0, std::max(0.0, axis.length - w));
        const Box box{left - 2, kTickLength + 1, left + w + 2, kTickLength + 1 + height};
        for (const Box& b : written) {
            if (b.Overlaps(box)) return;
        }
        written.push_back(box);
        const PixelPoint at = o(left, kTickLength + 1);
        surface.Text(at.x, at.y, text, kBlack);
    };
    for (const double n : kFNumberLabels) number(n);
    if (allNumbers) {
        for (const double n : kFNumberTicks) number(n);
    }
    const std::string title =
        FittingTitle(surface, "Blendenzahl [unendliche Objektweite]", axis.length);
    if (title.empty()) return;
    const double w = surface.MeasureText(title).width;
    const PixelPoint at = o((axis.length - w) / 2, kTickLength + 1 + 1.5 * height);
    surface.Text(at.x, at.y, title, kBlack);
}

double ApertureStripHeight(const Surface& surface) {
    // Ticks, a row of numbers, half a row of space and the title.
    return kTickLength + 1 + 2.5 * surface.MeasureText("0").height + 2;
}

double FieldStripWidth(const Surface& surface) {
    return surface.MeasureText("0").height + surface.MeasureText("100.0").width + 2 * kTickLength +
           6;
}

void DrawFieldStrip(Surface& surface, const PlotAxis& axis) {
    surface.Clear();
    if (!Usable(axis)) return;
    const Origin o = OriginOf(surface);
    const ScaleRect s = surface.Scale();
    const double right = s.width - 1;
    const double height = surface.MeasureText("0").height;
    for (int decade = 0; decade <= axis.decades; ++decade) {
        const double power = axis.minValue * std::pow(10.0, decade);
        for (int k = 1; k <= (decade == axis.decades ? 1 : 9); ++k) {
            const auto y = analysis::AxisPosition(axis, k * power);
            if (!y) continue;
            const double length = k == 1 ? 2 * kTickLength : kTickLength;
            Segment(surface, o, right - length, *y, right, *y, {});
            if (k != 1) continue;
            const std::string text = text::Format(power, "0.0#");
            const double w = surface.MeasureText(text).width;
            const double top =
                std::clamp(*y - height / 2, 0.0, std::max(0.0, axis.length - height));
            const double left = std::max(right - length - 2 - w, height + 2);
            const PixelPoint at = o(left, top);
            surface.Text(at.x, at.y, text, kBlack);
        }
    }
    // The title, turned, rising along the strip's left edge.
    const std::string title = FittingTitle(surface, "Objektwinkel [halbes Feld]", axis.length);
    if (title.empty()) return;
    const double w = surface.MeasureText(title).width;
    const PixelPoint at = o(1, (axis.length + w) / 2);
    (void)DrawRotatedText(surface, title, static_cast<float>(at.x), static_cast<float>(at.y), 90.0f,
                          8.0f, "DejaVu Sans", false);
}

}  // namespace rs::drawing
