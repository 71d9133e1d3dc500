#include "drawing/ap_field_drawing.h"

#include <array>
#include <cmath>
#include <string>

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
// it; left out when all three are taken.
class NamePlacer {
public:
    NamePlacer(Surface& surface, const Origin& origin) : surface_(surface), origin_(origin) {}

    void Place(const std::string& name, double cx, double cy, Colour colour) {
        const TextExtent e = surface_.MeasureText(name);
        for (const double shift : {0.0, -e.height, e.height}) {
            const Box box{cx - e.width / 2, cy - e.height / 2 + shift, cx + e.width / 2,
                          cy + e.height / 2 + shift};
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
    std::vector<Box> placed_;
};

bool Usable(const PlotAxis& axis) {
    return axis.Usable() > 0;
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

    // The types' regions, those under the cursor stronger.
    const std::vector<analysis::LensClass>& types = analysis::LensClasses(plot.mirror);
    for (std::size_t i = 0; i < plot.regions.size() && i < types.size(); ++i) {
        const std::vector<PixelPoint>& outline = plot.regions[i];
        if (outline.empty()) continue;
        bool hit = false;
        for (int h : options.highlighted) hit = hit || h == static_cast<int>(i);
        Pen pen{types[i].outline, LineStyle::Solid, 1};
        if (hit) {
            pen.width = std::max(1, options.frameWidth);
            if (options.highlight) pen.colour = kGreen;
        }
        // The outline's last point is its first: the polygon closes itself.
        std::vector<PixelPoint> shifted;
        shifted.reserve(outline.size());
        for (const PixelPoint& p : outline) shifted.push_back(o(p.x, p.y));
        surface.Polyline(shifted, pen);
    }

    // The design's point: a cross-hair over the whole plot.
    if (options.design) {
        const auto x = analysis::AxisPosition(plot.x, options.design->a);
        const auto y = analysis::AxisPosition(plot.y, options.design->angle);
        if (x && y && *x >= left && *x <= right && *y >= top && *y <= bottom) {
            const Pen mark{kDesignMark, LineStyle::Solid, 1};
            Segment(surface, o, left, *y, right, *y, mark);
            Segment(surface, o, *x, top, *x, bottom, mark);
            const PixelPoint c = o(*x, *y);
            surface.Circle(c.x, c.y, 4, kDesignMark, false);
        }
    }

    // The names last, over the outlines.
    NamePlacer names(surface, o);
    for (const analysis::LensClass& type : types) {
        for (std::size_t k = 0; k < type.names.size() && k < type.labelPositions.size(); ++k) {
            const auto x = analysis::AxisPosition(plot.x, type.labelPositions[k].a);
            const auto y = analysis::AxisPosition(plot.y, type.labelPositions[k].angle);
            if (!x || !y) continue;
            const std::string& name = options.shortNames ? type.ShortName(k) : type.names[k];
            // The leading blank of some names only set them off in a list.
            const auto first = name.find_first_not_of(' ');
            if (first == std::string::npos) continue;
            names.Place(name.substr(first), *x, *y, kBlack);
        }
    }
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
    const std::string title = "Blendenzahl [unendliche Objektweite]";
    const double w = surface.MeasureText(title).width;
    const PixelPoint at = o((axis.length - w) / 2, kTickLength + 1 + 1.5 * height);
    surface.Text(at.x, at.y, title, kBlack);
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
    const std::string title = "Objektwinkel [halbes Feld]";
    const double w = surface.MeasureText(title).width;
    const PixelPoint at = o(1, (axis.length + w) / 2);
    (void)DrawRotatedText(surface, title, static_cast<float>(at.x), static_cast<float>(at.y), 90.0f,
                          8.0f, "DejaVu Sans", false);
}

}  // namespace rs::drawing
