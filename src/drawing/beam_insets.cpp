#include "drawing/beam_insets.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>

#include "drawing/beam_envelopes.h"
#include "text/tr.h"
#include "text/vb_format.h"

namespace rs::drawing::beam_picture {

namespace {

using engine::NarrowToFloat;

// Insets: the beam from −2 to +2 Rayleigh lengths around its waist.
constexpr double kInsetReach = 2.0;    // Rayleigh lengths each way
constexpr double kInsetHalfX = 4.4;    // world x of ±kInsetReach
constexpr double kInsetPadding = 3.0;  // pixels between the frame and its texts
constexpr float kWaistArrow = 3.0f;    // pixels

// "0.8 mm", "794.2 mm", "12.5 µm": lengths as the insets print them.
std::string LengthText(double mm) {
    const double a = std::fabs(mm);
    if (a >= 1e5) return text::Format(mm, "0.0#e+0") + " mm";
    if (a >= 10.0) return text::Format(mm, "0.0") + " mm";
    if (a >= 1.0) return text::Format(mm, "0.0#") + " mm";
    if (a >= 0.1) return text::Format(mm, "0.0##") + " mm";
    const double um = mm * 1000.0;
    if (std::fabs(um) >= 1.0) return text::Format(um, "0.0#") + " µm";
    if (std::fabs(um) >= 0.01 || um == 0.0) return text::Format(um, "0.0##") + " µm";
    return text::Format(um, "0.0#e+0") + " µm";
}

// A waist shown in an inset.
struct InsetWaist {
    double r = 0.0;   // waist radius of the embedded beam (mm)
    double zr = 0.0;  // Rayleigh length (mm)
    double m = 1.0;   // M
    LineStyle style = LineStyle::Solid;
};

bool Showable(const InsetWaist& w) {
    return std::isfinite(w.r) && std::isfinite(w.zr) && std::isfinite(w.m) && w.r > 0.0 &&
           w.zr > 0.0 && w.m >= 1.0 && std::isfinite(w.m * w.r * 10.0);
}

// The beam around one waist: both halves of the envelope over ±2 Rayleigh lengths, the waist
// diameter as a double arrow, dotted marks one Rayleigh length either side (where the radius
// has grown by √2), and the values. With both diode axes in one inset the two beams share one
// scale (x in the larger Rayleigh length, y in the larger radius), so they can be compared.
class InsetPicture {
public:
    InsetPicture(Painter& painter, const DrawingFrame& frame, bool objectSide)
        : p_(painter), f_(frame), objectSide_(objectSide) {}

    void Draw(const std::vector<InsetWaist>& all, bool virtualWaist) {
        const PixelBox inner = InnerBox();
        std::vector<InsetWaist> waists;
        std::copy_if(all.begin(), all.end(), std::back_inserter(waists), Showable);
        const Texts texts = FitTexts(waists, inner, virtualWaist);
        // An inset is there to read the waist off: one too small for its values is left out.
        if (!waists.empty() && texts.rows.empty()) return;
        FrameBox(inner);
        DrawTexts(texts, inner);
        if (!waists.empty()) DrawBeam(waists, Band(texts, inner));
    }

private:
    struct Row {
        std::string text;
        LineStyle style = LineStyle::Solid;
        bool sample = false;  // a line sample before the text tells the axes apart
    };

    // The title and the value rows that fit, with the height of a text line.
    struct Texts {
        std::string title;
        bool withTitle = true;
        std::vector<Row> rows;
        bool legend = false;  // rows of several axes, each told apart by a line sample
        double lineHeight = 0.0;
    };

    // Pixel rows of the inset's beam.
    struct PixelBand {
        double top = 0.0;
        double bottom = 0.0;
    };

    double SampleRoom(bool legend) const { return legend ? kSampleLength + 4.0 : 0.0; }

    // The pixels inside the inset's frame.
    PixelBox InnerBox() const {
        const DrawingScale& s = f_.scale;
        return {s.WorldToScreenX(-kInsetWorld) + 1.0, s.WorldToScreenY(kInsetWorld) + 1.0,
                s.WorldToScreenX(kInsetWorld) - 1.0, s.WorldToScreenY(-kInsetWorld) - 1.0};
    }

    void FrameBox(const PixelBox& inner) {
        const DrawingScale& s = f_.scale;
        p_.Box(f_, -kInsetWorld, kInsetWorld, s.ScreenToWorldX(NarrowToFloat(inner.right)),
               s.ScreenToWorldY(NarrowToFloat(inner.bottom)));
    }

    // Diameter and Rayleigh length of each waist: on one row where they fit side by side.
    std::vector<Row> ValueRows(const std::vector<InsetWaist>& waists, const PixelBox& inner,
                               bool legend) const {
        const auto& sym = p_.design().symbols;
        const int rIndex = objectSide_ ? beam::kGbObjRadius : beam::kGbImgRadius;
        const int zrIndex = objectSide_ ? beam::kGbObjRayleigh : beam::kGbImgRayleigh;
        std::vector<Row> rows;
        for (const InsetWaist& w : waists) {
            const std::string diameter =
                "2" + sym.Param(rIndex) + " = " + LengthText(2 * w.m * w.r);
            const std::string rayleigh = sym.Param(zrIndex) + " = " + LengthText(w.zr);
            std::string both = diameter;
            both += "   ";
            both += rayleigh;
            const double room = inner.right - inner.left - 2 * kInsetPadding - SampleRoom(legend);
            if (p_.Measure(both).width <= room) {
                rows.push_back({both, w.style, legend});
            } else {
                rows.push_back({diameter, w.style, legend});
                rows.push_back({rayleigh, w.style, false});
            }
        }
        return rows;
    }

    // Texts: a title at the top, the values at the bottom. They give way to the beam when the
    // inset is small: first the values, then the title.
    Texts FitTexts(const std::vector<InsetWaist>& waists, const PixelBox& inner,
                   bool virtualWaist) const {
        Texts t;
        t.title = objectSide_ ? text::Tr("Objekttaille") : text::Tr("Bildtaille");
        if (virtualWaist) t.title += text::Tr(" (virtuell)");
        t.legend = waists.size() > 1;
        t.rows = ValueRows(waists, inner, t.legend);
        const double th = p_.Measure(t.title).height;
        t.lineHeight = th;
        const double minBeam = std::max(3.0 * th, 0.4 * (inner.bottom - inner.top));
        const auto beamHeight = [&](bool withTitle, std::size_t rowCount) {
            const double used = (withTitle ? th + kInsetPadding : 0.0) +
                                static_cast<double>(rowCount) * (th + 1.0) + 3 * kInsetPadding;
            return inner.bottom - inner.top - used;
        };
        const double room = inner.right - inner.left - 2 * kInsetPadding - SampleRoom(t.legend);
        const bool narrow = std::any_of(t.rows.begin(), t.rows.end(), [&](const Row& row) {
            return p_.Measure(row.text).width > room;
        });
        if (narrow || beamHeight(true, t.rows.size()) < minBeam) t.rows.clear();
        if (beamHeight(true, 0) < minBeam) t.withTitle = false;
        return t;
    }

    void DrawTexts(const Texts& t, const PixelBox& inner) {
        const Colour colour = objectSide_ ? kRed : kBlue;
        if (t.withTitle) {
            p_.Label(inner.left + kInsetPadding, inner.top + kInsetPadding, t.title, colour, inner);
        }
        const double th = t.lineHeight;
        double y = inner.bottom - kInsetPadding - static_cast<double>(t.rows.size()) * (th + 1.0);
        for (const Row& row : t.rows) {
            double x = inner.left + kInsetPadding;
            if (row.sample) SampleLine(x, y + std::round(th / 2.0), row.style, colour);
            if (t.legend) x += SampleRoom(true);
            p_.Label(x, y, row.text, colour, inner);
            y += th + 1.0;
        }
    }

    // The pixel rows between the title and the values.
    static PixelBand Band(const Texts& t, const PixelBox& inner) {
        const double th = t.lineHeight;
        return {inner.top + (t.withTitle ? th + 2 * kInsetPadding : kInsetPadding),
                inner.bottom - kInsetPadding - static_cast<double>(t.rows.size()) * (th + 1.0) -
                    (t.rows.empty() ? 0.0 : kInsetPadding)};
    }

    void DrawBeam(const std::vector<InsetWaist>& waists, const PixelBand& band) {
        // The beam's band as world coordinates of the inset.
        const DrawingScale& s = f_.scale;
        const double centreY = s.ScreenToWorldY(NarrowToFloat((band.top + band.bottom) / 2.0));
        const double halfY =
            0.95 * s.ScreenToWorldDY(NarrowToFloat((band.bottom - band.top) / 2.0));

        double zUnit = 0.0, largest = 0.0;
        for (const InsetWaist& w : waists) zUnit = std::max(zUnit, w.zr);
        for (const InsetWaist& w : waists) {
            largest = std::max(largest, w.m * w.r * std::hypot(1.0, kInsetReach * zUnit / w.zr));
        }
        if (!(largest > 0.0) || !std::isfinite(largest)) return;
        const auto X = [&](double z) { return z / zUnit * (kInsetHalfX / kInsetReach); };
        const auto Y = [&](double w) { return centreY + w / largest * halfY; };

        p_.Line(f_, -kInsetWorld, centreY, kInsetWorld, centreY, {kBlack, LineStyle::Dotted, 1});
        const Colour colour = objectSide_ ? kRed : kBlue;
        const Colour mColour = MColour(objectSide_, p_.options().printing);
        for (const InsetWaist& w : waists) {
            Hyperbola(w, 1.0, zUnit, {colour, w.style, 1}, X, Y);
            if (w.m > 1.0) Hyperbola(w, w.m, zUnit, {mColour, w.style, 1}, X, Y);
            const double rz = std::sqrt(2.0) * w.m * w.r;
            for (double side : {-1.0, 1.0}) {
                p_.Line(f_, X(side * w.zr), Y(-rz), X(side * w.zr), Y(rz),
                        {kBlack, LineStyle::Dotted, 1});
            }
            WaistArrow(Y(-w.m * w.r), Y(w.m * w.r), w.style);
        }
    }

    // Upper and lower half of the envelope over ±2 Rayleigh lengths of the larger beam.
    template <typename FX, typename FY>
    void Hyperbola(const InsetWaist& w, double factor, double zUnit, const Pen& pen, const FX& X,
                   const FY& Y) {
        constexpr double kPieces = kEnvelopeSamples - 1;
        const double reach = kInsetReach * zUnit;
        std::array<EnvelopePoint, kEnvelopeSamples> pts;
        for (int i = 0; i < kEnvelopeSamples; ++i) {
            const double z = -reach + 2.0 * reach * i / kPieces;
            pts[static_cast<std::size_t>(i)] = {X(z), factor * w.r * std::hypot(1.0, z / w.zr)};
        }
        for (double side : {-1.0, 1.0}) {
            std::array<WorldPoint, kEnvelopeSamples> world;
            for (std::size_t i = 0; i < pts.size(); ++i) {
                world[i] = {NarrowToFloat(pts[i].x), NarrowToFloat(Y(side * pts[i].w))};
            }
            p_.Curve(f_, world, pen);
        }
    }

    // The waist diameter: a vertical double arrow between the two halves of the real beam.
    void WaistArrow(double yLow, double yHigh, LineStyle style) {
        const Pen pen{kBlack, style, 1};
        p_.Line(f_, 0.0, yLow, 0.0, yHigh, pen);
        const double dx = f_.scale.ScreenToWorldDX(kWaistArrow);
        const double dy = f_.scale.ScreenToWorldDY(kWaistArrow + 1.0f);
        // Heads only where the arrow is long enough to carry them.
        if (yHigh - yLow < 3.0 * dy) return;
        p_.Line(f_, 0.0, yHigh, -dx, yHigh - dy, pen);
        p_.Line(f_, 0.0, yHigh, dx, yHigh - dy, pen);
        p_.Line(f_, 0.0, yLow, -dx, yLow + dy, pen);
        p_.Line(f_, 0.0, yLow, dx, yLow + dy, pen);
    }

    void SampleLine(double x, double y, LineStyle style, Colour colour) {
        const DrawingScale& s = f_.scale;
        p_.Line(f_, s.ScreenToWorldX(NarrowToFloat(x)), s.ScreenToWorldY(NarrowToFloat(y)),
                s.ScreenToWorldX(NarrowToFloat(x + kSampleLength)),
                s.ScreenToWorldY(NarrowToFloat(y)), {colour, style, 1});
    }

    Painter& p_;
    const DrawingFrame& f_;
    bool objectSide_;
};

}  // namespace

void DrawInsets(Painter& p, const AxisPicture& ap, const std::vector<AxisData>& data) {
    const AxisData& a = ap.data;
    // A shared area shows both axes' waists in one pair of insets.
    std::vector<InsetWaist> objectWaists, imageWaists;
    for (const AxisData& b : data) {
        if (!ap.shared && b.axis != a.axis) continue;
        const LineStyle style = b.axis == 1 && ap.shared ? LineStyle::Dotted : LineStyle::Solid;
        objectWaists.push_back({b.r, b.zr, b.m, style});
        imageWaists.push_back({b.rImg, b.zrImg, b.m, style});
    }
    InsetPicture(p, ap.frame->objectInset, true).Draw(objectWaists, a.s < 0.0);
    InsetPicture(p, ap.frame->imageInset, false).Draw(imageWaists, a.sImg < 0.0);
}

}  // namespace rs::drawing::beam_picture
