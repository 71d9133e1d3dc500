#include "drawing/lens_trace.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "engine/numbers.h"

namespace rs::drawing::sketch_optics {

double Sag(const Surf& s, double y) {
    const double root = 1.0 - (1.0 + s.k) * s.c * s.c * y * y;
    const double conic = s.c * y * y / (1.0 + std::sqrt(std::max(0.0, root)));
    return conic + s.a4 * y * y * y * y;
}

double DrawnSag(const Surf& s, double y) {
    return Sag(s, y) * s.drawn;
}

namespace {

// Launch heights tried when aiming a ray at the aperture.
constexpr int kAimSamples = 200;
// Room left around the rays at a lens's rim.
constexpr double kRimAllowance = 1.06;
// The depth a plate's asphere is drawn with, as a share of the plate's thickness.
constexpr double kPlateProfile = 0.6;

double SagSlope(const Surf& s, double y) {
    const double root = 1.0 - (1.0 + s.k) * s.c * s.c * y * y;
    const double conic = root > 0.0 ? s.c * y / std::sqrt(root) : 0.0;
    return conic + 4.0 * s.a4 * y * y * y;
}

// How far along the ray it meets the surface: the first intersection ahead on the sheet (or
// half of a sphere) that holds the vertex.
std::optional<double> Hit(const Surf& s, const Ray& r) {
    const double z0 = r.x - s.x;
    const double e = 1.0 + s.k;
    // a·t² + 2b·t + c = 0, solved without cancellation.
    const double a = s.c * (r.dy * r.dy + e * r.dx * r.dx);
    const double b = s.c * (r.y * r.dy + e * z0 * r.dx) - r.dx;
    const double c = s.c * (r.y * r.y + e * z0 * z0) - 2.0 * z0;
    const double disc = b * b - a * c;
    if (!(disc >= 0.0)) return std::nullopt;
    const double q = -b - std::copysign(std::sqrt(disc), b);
    std::optional<double> first;
    for (const double t : {q != 0.0 ? c / q : -1.0, a != 0.0 ? q / a : -1.0}) {
        const bool vertexSide = 1.0 - s.c * e * (z0 + t * r.dx) > -1e-9;
        if (t >= -1e-9 && vertexSide && (!first || t < *first)) first = t;
    }
    if (!first) return std::nullopt;
    double t = *first;
    if (s.a4 != 0.0) {
        // The plate's asphere is a small change of the conic: Newton from its intersection.
        bool converged = false;
        for (int i = 0; i < 30 && !converged; ++i) {
            const double y = r.y + t * r.dy;
            const double g = z0 + t * r.dx - Sag(s, y);
            const double dg = r.dx - SagSlope(s, y) * r.dy;
            if (!(std::fabs(dg) > 1e-12)) return std::nullopt;
            const double step = g / dg;
            t -= step;
            converged = std::fabs(step) < 1e-12;
        }
        if (!converged) return std::nullopt;
    }
    if (!std::isfinite(t) || t < -1e-9) return std::nullopt;
    return t;
}

Point Normal(const Surf& s, double z, double y) {
    double nx = 1.0, ny = -SagSlope(s, y);
    if (s.a4 == 0.0) {
        // From the conic's implicit form, defined up to the rim of a hemisphere.
        nx = 1.0 - s.c * (1.0 + s.k) * z;
        ny = -s.c * y;
    }
    const double length = std::hypot(nx, ny);
    return {nx / length, ny / length};
}

// The ray through surfaces 0..last. Nothing when it misses one, is totally reflected, or (with
// rims) passes outside a semi-diameter or through a mirror's hole.
std::optional<Path> Trace(const System& sys, Ray ray, bool rims, int last) {
    Path path;
    path.in = ray;
    for (int i = 0; i <= last && i < static_cast<int>(sys.surfs.size()); ++i) {
        const Surf& s = sys.surfs[static_cast<std::size_t>(i)];
        const auto t = Hit(s, ray);
        if (!t) return std::nullopt;
        ray.x += *t * ray.dx;
        ray.y += *t * ray.dy;
        const double height = std::fabs(ray.y);
        if (height < s.hole || (rims && height > s.semi * (1.0 + 1e-9))) return std::nullopt;
        path.hits.push_back({ray.x, ray.y});
        if (s.role == Role::Stop) continue;
        Point n = Normal(s, ray.x - s.x, ray.y);
        double cosIn = ray.dx * n.x + ray.dy * n.y;
        if (cosIn < 0.0) {
            n = {-n.x, -n.y};
            cosIn = -cosIn;
        }
        if (s.role == Role::Mirror) {
            ray.dx -= 2.0 * cosIn * n.x;
            ray.dy -= 2.0 * cosIn * n.y;
        } else {
            const double mu = s.nBefore / s.nAfter;
            const double sinOut2 = mu * mu * (1.0 - cosIn * cosIn);
            if (sinOut2 >= 1.0) return std::nullopt;
            const double g = std::sqrt(1.0 - sinOut2) - mu * cosIn;
            ray.dx = mu * ray.dx + g * n.x;
            ray.dy = mu * ray.dy + g * n.y;
        }
        const double length = std::hypot(ray.dx, ray.dy);
        if (!(length > 0.0) || !std::isfinite(length)) return std::nullopt;
        ray.dx /= length;
        ray.dy /= length;
    }
    path.out = ray;
    return path;
}

// The ray of direction `angle` (radians) that meets the aperture at `height`. Its height at the
// launch plane is found by a scan for a sign change of the miss (wide-angle systems bend the
// chief ray far from a straight line) followed by regula falsi.
std::optional<Ray> Aim(const System& sys, double angle, double height) {
    const double dx = std::cos(angle), dy = std::sin(angle);
    const Surf& stop = sys.surfs[static_cast<std::size_t>(sys.aperture)];
    const auto miss = [&](double y) -> std::optional<double> {
        const auto path = Trace(sys, {sys.launchX, y, dx, dy}, false, sys.aperture);
        if (!path) return std::nullopt;
        return path->hits.back().y - height;
    };
    double reach = 0.0;
    for (const Surf& s : sys.surfs) reach = std::max(reach, s.semi);
    const double guess = height - (stop.x - sys.launchX) * dy / dx;
    const double span = 2.0 * reach + std::fabs(guess);
    // The bracket nearest to the straight-line guess.
    std::optional<std::pair<double, double>> bracket;
    double nearest = 0.0;
    auto previous = miss(-span);
    for (int i = 1; i <= kAimSamples; ++i) {
        const double y0 = -span + 2.0 * span * (i - 1) / kAimSamples;
        const double y1 = -span + 2.0 * span * i / kAimSamples;
        const auto current = miss(y1);
        if (previous && current && (*previous <= 0.0) != (*current <= 0.0)) {
            const double distance = std::fabs(0.5 * (y0 + y1) - guess);
            if (!bracket || distance < nearest) {
                bracket = std::pair{y0, y1};
                nearest = distance;
            }
        }
        previous = current;
    }
    if (!bracket) return std::nullopt;
    auto [a, b] = *bracket;
    double ga = *miss(a), gb = *miss(b);
    const double tolerance = 1e-9 * (1.0 + stop.semi);
    for (int i = 0; i < 100; ++i) {
        const double y = std::fabs(gb - ga) > 0.0 ? b - gb * (b - a) / (gb - ga) : 0.5 * (a + b);
        const auto g = miss(y);
        // Within the bracket every ray reaches the aperture unless the scan stepped over a gap.
        if (!g) return std::nullopt;
        if (std::fabs(*g) < tolerance) return Ray{sys.launchX, y, dx, dy};
        if ((*g <= 0.0) == (ga <= 0.0)) {
            a = y, ga = *g;
            gb *= 0.5;  // Illinois: the stale end gives way
        } else {
            b = y, gb = *g;
            ga *= 0.5;
        }
    }
    return std::nullopt;
}

}  // namespace

System Place(const Prescription& p) {
    System sys;
    sys.aperture = p.aperture;
    double x = 0.0, n = kAir, direction = 1.0;
    for (const Row& row : p.rows) {
        Surf s;
        s.x = x;
        s.c = row.radius == 0.0 ? 0.0 : 1.0 / row.radius;
        s.k = row.conic;
        s.a4 = row.a4;
        s.semi = row.semi;
        s.hole = row.hole;
        s.role = row.role;
        s.nBefore = n;
        s.nAfter = row.role == Role::Refract ? row.index : n;
        if (row.role == Role::Mirror) {
            s.back = direction;
            direction = -direction;
        }
        if (s.nAfter != kAir) s.glass = std::fabs(row.thickness);
        n = s.nAfter;
        sys.surfs.push_back(s);
        x += row.thickness;
    }
    // A plate's asphere is far too shallow to see: it is drawn deep enough to show its form.
    for (std::size_t k = 0; k < sys.surfs.size(); ++k) {
        Surf& s = sys.surfs[k];
        if (s.a4 == 0.0) continue;
        double deepest = 0.0;
        for (int i = 0; i <= 20; ++i) {
            deepest = std::max(deepest, std::fabs(Sag(s, s.semi * i / 20)));
        }
        // The plate's thickness: behind this surface, or in front of it.
        const double plate = s.glass > 0.0 || k == 0 ? s.glass : sys.surfs[k - 1].glass;
        const double shown = kPlateProfile * std::max(plate, 1.0);
        if (deepest > 0.0 && deepest < shown) s.drawn = shown / deepest;
    }
    double left = 0.0;
    for (const Surf& s : sys.surfs) {
        left = std::min({left, s.x + Sag(s, s.semi), s.x + DrawnSag(s, s.semi)});
    }
    sys.launchX = left - 1.0;
    return sys;
}

std::optional<Point> Focus(const std::vector<Path>& paths) {
    if (paths.size() < 2) return std::nullopt;
    double m11 = 0.0, m12 = 0.0, m22 = 0.0, b1 = 0.0, b2 = 0.0;
    for (const Path& p : paths) {
        const Ray& r = p.out;
        const double a11 = 1.0 - r.dx * r.dx, a12 = -r.dx * r.dy, a22 = 1.0 - r.dy * r.dy;
        m11 += a11, m12 += a12, m22 += a22;
        b1 += a11 * r.x + a12 * r.y;
        b2 += a12 * r.x + a22 * r.y;
    }
    const double det = m11 * m22 - m12 * m12;
    if (!(std::fabs(det) > 1e-12 * (m11 + m22) * (m11 + m22))) return std::nullopt;
    const Point f{(b1 * m22 - b2 * m12) / det, (m11 * b2 - m12 * b1) / det};
    if (!std::isfinite(f.x) || !std::isfinite(f.y)) return std::nullopt;
    return f;
}

std::vector<Path> TraceBundle(const System& sys, double angleDeg, const std::vector<double>& fan) {
    const double angle = -angleDeg * engine::kPi / 180.0;  // from the upper left
    const Surf& stop = sys.surfs[static_cast<std::size_t>(sys.aperture)];
    const int last = static_cast<int>(sys.surfs.size()) - 1;
    std::vector<Path> paths;
    for (const double f : fan) {
        const auto ray = Aim(sys, angle, f * stop.semi);
        if (!ray) continue;
        if (auto path = Trace(sys, *ray, false, last)) paths.push_back(std::move(*path));
    }
    if (paths.size() < 2) paths.clear();
    return paths;
}

void FitRims(System& sys, const std::vector<std::vector<Path>>& bundles) {
    for (const std::vector<Path>& bundle : bundles) {
        for (const Path& path : bundle) {
            for (std::size_t i = 0; i < path.hits.size() && i < sys.surfs.size(); ++i) {
                Surf& s = sys.surfs[i];
                if (s.role == Role::Stop) continue;
                double rim = std::fabs(path.hits[i].y) * kRimAllowance;
                if (s.c != 0.0 && s.k == 0.0) rim = std::min(rim, 1.0 / std::fabs(s.c));
                s.semi = std::max(s.semi, rim);
            }
        }
    }
}

std::optional<Point> ParaxialFocus(const System& sys) {
    const Surf& stop = sys.surfs[static_cast<std::size_t>(sys.aperture)];
    const auto ray = Aim(sys, 0.0, 1e-3 * stop.semi);
    if (!ray) return std::nullopt;
    const auto path = Trace(sys, *ray, false, static_cast<int>(sys.surfs.size()) - 1);
    if (!path || !(std::fabs(path->out.dy) > 1e-12)) return std::nullopt;
    const double t = -path->out.y / path->out.dy;
    return Point{path->out.x + t * path->out.dx, 0.0};
}

}  // namespace rs::drawing::sketch_optics
