#include "drawing/lens_sketches.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "analysis/lens_ideas.h"
#include "drawing/drawing_scale.h"
#include "engine/numbers.h"

namespace rs::drawing {
namespace {

using engine::NarrowToFloat;

constexpr Colour kGlassOutline = 0x8B0000;  // dark blue
constexpr Colour kAxialRays = kRed;
constexpr Colour kFieldRays = kBlue;

// Room left around the rays at a lens's rim.
constexpr double kRimAllowance = 1.06;
// Launch heights tried when aiming a ray at the aperture.
constexpr int kAimSamples = 200;
// Sizes in the pictures: a stop's bars, a mirror's substrate (both as a share of their
// semi-diameter), and the depth a plate's asphere is drawn with (a share of its thickness).
constexpr double kStopBar = 0.4;
constexpr double kMirrorBacking = 0.06;
constexpr double kPlateProfile = 0.6;

// Refractive indices (d line). Only the steps between them matter to a picture.
constexpr double kAir = 1.0;
constexpr double kCrown = 1.517;
constexpr double kBariumCrown = 1.6;
constexpr double kFlint = 1.65;
constexpr double kDenseFlint = 1.72;
constexpr double kLanthanum = 1.75;
constexpr double kPlastic = 1.585;  // a moulded lens, and the disc's cover layer

enum class Role { Refract, Stop, Mirror };

// One surface of a prescription, in the order light meets them.
struct Row {
    double radius = 0.0;     // mm, positive with the centre right of the vertex; 0 for a plane
    double thickness = 0.0;  // to the next vertex along x (negative on the way back from a mirror)
    double index = kAir;     // behind a refracting surface
    double semi = 0.0;       // semi-diameter
    Role role = Role::Refract;
    double conic = 0.0;  // 0 sphere, -1 paraboloid, below -1 hyperboloid
    double a4 = 0.0;     // y⁴ term of an aspheric plate
    double hole = 0.0;   // radius of a mirror's central hole
};

Row Stop(double thickness, double semi) {
    return {0.0, thickness, kAir, semi, Role::Stop};
}

Row Mirror(double radius, double thickness, double semi, double conic = 0.0, double hole = 0.0) {
    return {radius, thickness, kAir, semi, Role::Mirror, conic, 0.0, hole};
}

// The image surface of a camera whose focus lies on a sphere, drawn but not traced.
struct FocalSurface {
    double x = 0.0;  // vertex
    double radius = 0.0;
    double semi = 0.0;
};

struct Prescription {
    std::vector<Row> rows;
    int aperture = 0;  // the row whose semi-diameter the ray fans fill
    // Ray heights at the aperture, as fractions of its semi-diameter.
    std::vector<double> axialFan = {-0.9, -0.45, 0.0, 0.45, 0.9};
    double fieldAngle = 0.0;  // degrees, the off-axis bundle's (0: none)
    std::vector<double> fieldFan = {-0.8, 0.0, 0.8};
    double lead = 30.0;  // length of the incoming rays before their first surface
    std::optional<FocalSurface> focalSurface;
    bool markFocus = false;  // a dot and "F" at the paraxial focus
};

// --- The catalogue's systems ---------------------------------------------------------------------
//
// Approximate systems of about 100 mm focal length (the microscope and disc objectives at their own
// small scale), their curvatures tuned so that the traced rays meet; the pictures need nothing
// more. Lens rims follow the rays (FitRims): a row's semi-diameter is only its least size.

// clang-format off: one surface to a line, as in a lens table
// Two deep negative menisci bend the steep field towards the axis; a compact positive group with
// a cemented doublet behind the stop forms the image.
Prescription Fisheye() {
    Prescription p;
    p.rows = {
        {60.0, 3.0, kCrown, 38.0},
        {21.0, 12.0, kAir, 19.5},
        {40.0, 2.0, kCrown, 15.0},
        {11.0, 8.0, kAir, 10.2},
        {280.0, 9.0, kFlint, 8.0},
        {-48.8, 3.0, kAir, 8.0},
        Stop(3.0, 5.5),
        {71.8, 5.0, kBariumCrown, 6.5},
        {-10.4, 1.5, kDenseFlint, 6.5},
        {-17.5, 1.0, kAir, 7.0},
        {26.0, 4.0, kBariumCrown, 7.5},
        {-68.1, 20.0, kAir, 7.5},
    };
    p.aperture = 6;
    p.fieldAngle = 70.0;
    p.lead = 25.0;
    return p;
}

// Symmetric about the stop: a strong negative meniscus outside, a thick positive doublet inside.
Prescription Biogon() {
    Prescription p;
    p.rows = {
        {57.6, 2.0, kCrown, 19.0},  {13.7, 6.0, kAir, 13.0},         {20.1, 8.0, kLanthanum, 11.0},
        {135.0, 1.5, kFlint, 11.0}, {75.7, 3.0, kAir, 7.0},          Stop(3.0, 5.0),
        {-75.7, 1.5, kFlint, 7.0},  {-135.0, 8.0, kLanthanum, 11.0}, {-20.1, 6.0, kAir, 11.0},
        {-13.7, 2.0, kCrown, 13.0}, {-57.6, 40.0, kAir, 19.0},
    };
    p.aperture = 5;
    p.fieldAngle = 30.0;
    p.lead = 25.0;
    return p;
}

// A negative front meniscus far ahead of a positive triplet-like group: the image lies further
// behind the lens than its focal length.
Prescription Retrofocus() {
    Prescription p;
    p.rows = {
        {70.0, 3.0, kCrown, 26.0},
        {26.0, 28.0, kAir, 20.0},
        {40.0, 6.0, kLanthanum, 13.0},
        {-120.0, 4.0, kAir, 13.0},
        Stop(4.0, 8.0),
        {-35.0, 2.0, kDenseFlint, 9.0},
        {35.0, 3.0, kAir, 9.5},
        {90.0, 6.0, kLanthanum, 11.0},
        {-30.0, 60.0, kAir, 11.0},
    };
    p.aperture = 4;
    p.fieldAngle = 35.0;
    return p;
}

// Positive outer elements, and two thick meniscus doublets turning their hollow sides to the
// central stop.
Prescription DoubleGauss() {
    Prescription p;
    p.rows = {
        {71.3, 8.0, kLanthanum, 24.0},   {166.0, 0.5, kAir, 24.0},
        {42.9, 11.0, kLanthanum, 20.0},  {94.5, 3.0, kDenseFlint, 20.0},
        {30.8, 9.0, kAir, 15.0},         Stop(9.0, 14.0),
        {-33.3, 3.0, kDenseFlint, 15.0}, {-86.1, 11.0, kLanthanum, 19.0},
        {-42.8, 0.5, kAir, 19.0},        {210.0, 7.0, kLanthanum, 21.0},
        {-131.0, 70.0, kAir, 21.0},
    };
    p.aperture = 5;
    p.fieldAngle = 22.0;
    return p;
}

// Positive, negative, positive, with the stop behind the middle element.
Prescription Triplet() {
    Prescription p;
    p.rows = {
        {40.0, 6.0, kBariumCrown, 14.0},
        {-250.0, 9.0, kAir, 14.0},
        {-45.0, 2.0, kFlint, 10.0},
        {38.0, 4.0, kAir, 10.0},
        Stop(5.0, 8.5),
        {180.0, 5.5, kBariumCrown, 11.0},
        {-36.0, 80.0, kAir, 11.0},
    };
    p.aperture = 4;
    p.fieldAngle = 20.0;
    return p;
}

// One meniscus, hollow side to the stop in front of it.
Prescription Landscape() {
    Prescription p;
    p.rows = {
        Stop(15.0, 3.5),
        {-40.0, 3.0, kCrown, 9.0},
        {-22.6, 100.0, kAir, 9.0},
    };
    p.aperture = 0;
    p.fieldAngle = 15.0;
    return p;
}

// A cemented front doublet, the stop, and far behind it a second positive group of two singlets.
Prescription Petzval() {
    Prescription p;
    p.rows = {
        {88.9, 9.0, kCrown, 18.0}, {-56.6, 3.0, kFlint, 18.0}, {-314.0, 25.0, kAir, 18.0},
        Stop(25.0, 16.0),          {87.0, 3.0, kFlint, 15.0},  {44.3, 2.0, kAir, 15.0},
        {50.9, 8.0, kCrown, 15.0}, {-134.0, 40.0, kAir, 15.0},
    };
    p.aperture = 3;
    p.fieldAngle = 10.0;
    return p;
}

// Drawn the way round that takes parallel light from the left: two doublets, a meniscus, and the
// nearly hemispherical front lens with its flat face towards the specimen.
Prescription Microscope() {
    Prescription p;
    p.rows = {
        {21.9, 3.0, kCrown, 6.0}, {-11.5, 1.5, kDenseFlint, 6.0}, {-29.5, 1.0, kAir, 6.0},
        {13.8, 3.0, kCrown, 5.5}, {-10.5, 1.5, kDenseFlint, 5.5}, {-44.6, 0.5, kAir, 5.5},
        {4.92, 3.0, kFlint, 4.5}, {12.0, 0.3, kAir, 4.0},         {3.11, 3.0, kCrown, 2.95},
        {0.0, 0.5, kAir, 2.95},
    };
    p.aperture = 0;
    p.lead = 12.0;
    return p;
}

// A biconvex crown cemented to a negative flint.
Prescription Achromat() {
    Prescription p;
    p.rows = {
        {61.0, 6.0, kCrown, 13.0},
        {-44.0, 2.5, kFlint, 13.0},
        {-130.0, 95.0, kAir, 13.0},
    };
    p.aperture = 0;
    return p;
}

// One strongly curved aspheric singlet focusing through the disc's cover layer onto the data on
// its far face.
Prescription DiscObjective() {
    Prescription p;
    p.rows = {
        {2.6, 2.4, kPlastic, 2.0, Role::Refract, -0.891},
        {-8.0, 1.68, kAir, 1.9, Role::Refract, -8.3},
        {0.0, 1.2, kPlastic, 2.6},
        {0.0, 0.0, kAir, 2.6},
    };
    p.aperture = 0;
    p.lead = 3.0;
    return p;
}

// A plano-convex lens and a meniscus, bending a wide beam to a short focus in two steps.
Prescription Halo() {
    Prescription p;
    p.rows = {
        {40.0, 9.0, kCrown, 22.0},
        {0.0, 1.0, kAir, 22.0},
        {25.0, 8.0, kCrown, 18.0},
        {60.0, 30.0, kAir, 16.0},
    };
    p.aperture = 0;
    p.lead = 20.0;
    return p;
}

// Symmetric: two meniscus doublets around the stop.
Prescription Orthometar() {
    Prescription p;
    p.rows = {
        {33.0, 6.0, kBariumCrown, 12.0}, {31.6, 2.0, kFlint, 11.0},
        {42.1, 4.0, kAir, 9.0},          Stop(4.0, 6.0),
        {-42.1, 2.0, kFlint, 9.0},       {-31.6, 6.0, kBariumCrown, 11.0},
        {-33.0, 80.0, kAir, 12.0},
    };
    p.aperture = 3;
    p.fieldAngle = 25.0;
    return p;
}

// A positive meniscus behind the stop, and a thick negative element just before the image that
// flattens the field.
Prescription Hemiplanar() {
    Prescription p;
    p.rows = {
        Stop(5.0, 7.0),           {25.0, 6.0, kBariumCrown, 10.0},
        {50.0, 61.4, kAir, 10.0}, {-36.9, 8.0, kFlint, 6.0},
        {16.5, 3.0, kAir, 6.0},
    };
    p.aperture = 0;
    p.fieldAngle = 5.0;
    return p;
}

// A triplet whose rear element is a cemented pair.
Prescription Tessar() {
    Prescription p;
    p.rows = {
        {57.3, 5.0, kBariumCrown, 13.0},
        {-195.0, 6.0, kAir, 13.0},
        {-44.1, 1.5, kFlint, 10.0},
        {119.0, 3.5, kAir, 10.0},
        Stop(4.0, 9.0),
        {358.0, 1.5, kFlint, 11.0},
        {24.4, 6.0, kBariumCrown, 11.0},
        {-38.4, 80.0, kAir, 11.0},
    };
    p.aperture = 4;
    p.fieldAngle = 20.0;
    return p;
}

// A triplet with its rear positive element split in two.
Prescription SplitTriplet() {
    Prescription p;
    p.rows = {
        {48.3, 7.0, kLanthanum, 18.0},
        {266.0, 8.0, kAir, 18.0},
        {-60.5, 2.0, kFlint, 13.0},
        {44.6, 4.0, kAir, 12.0},
        Stop(4.0, 12.0),
        {-130.0, 5.0, kLanthanum, 14.0},
        {-143.0, 1.0, kAir, 14.0},
        {173.0, 5.0, kLanthanum, 14.0},
        {-49.8, 75.0, kAir, 14.0},
    };
    p.aperture = 4;
    p.fieldAngle = 13.0;
    return p;
}

// A corrector plate, a spherical primary with a hole, and a convex secondary on the back of the
// plate sending the light through the hole.
Prescription SchmidtCassegrain() {
    Prescription p;
    p.rows = {
        {0.0, 6.0, kCrown, 32.0},
        {-7532.0, 74.0, kAir, 32.0, Role::Refract, 0.0, 4.322e-8},
        Mirror(-200.0, -74.0, 33.0, 0.0, 4.0),
        Mirror(-70.8, 100.0, 7.0, 0.0, 0.0),
    };
    p.aperture = 0;
    p.axialFan = {-0.9, -0.55, 0.55, 0.9};
    p.lead = 40.0;
    return p;
}

// The corrector plate at the mirror's centre of curvature, and the curved image surface halfway
// between them.
Prescription Schmidt() {
    Prescription p;
    p.rows = {
        {0.0, 6.0, kCrown, 30.0},
        {-6020.0, 194.0, kAir, 30.0, Role::Refract, 0.0, 6.152e-8},
        Mirror(-200.0, -100.0, 50.0, 0.0, 0.0),
    };
    p.aperture = 0;
    p.fieldAngle = 5.0;
    p.lead = 40.0;
    p.focalSurface = FocalSurface{100.0, -100.0, 15.0};
    return p;
}

// A paraboloid primary with a hole and a hyperboloid secondary (the classical pair; the
// aplanatic variant differs only in the conics, invisible at this scale).
Prescription Cassegrain() {
    Prescription p;
    p.rows = {
        Mirror(-200.0, -65.0, 30.0, -1.0, 5.0),
        Mirror(-114.5, 90.0, 11.0, -5.17),
    };
    p.aperture = 0;
    p.axialFan = {-0.9, -0.55, 0.55, 0.9};
    p.lead = 110.0;
    return p;
}

// A concave paraboloid with its focus.
Prescription Paraboloid() {
    Prescription p;
    p.rows = {
        Mirror(-200.0, -100.0, 40.0, -1.0),
    };
    p.aperture = 0;
    p.lead = 140.0;
    p.markFocus = true;
    return p;
}

// clang-format on

// In the order of analysis::LensClasses.
std::vector<Prescription> Catalogue(bool mirror) {
    if (mirror) return {SchmidtCassegrain(), Schmidt(), Cassegrain(), Paraboloid()};
    return {Fisheye(),   Biogon(),     Retrofocus(), DoubleGauss(), Triplet(),
            Landscape(), Petzval(),    Microscope(), Achromat(),    DiscObjective(),
            Halo(),      Orthometar(), Hemiplanar(), Tessar(),      SplitTriplet()};
}

// --- Tracing ---------------------------------------------------------------------------------

struct Point {
    double x = 0.0;
    double y = 0.0;
};

// A surface placed on the axis.
struct Surf {
    double x = 0.0;  // vertex
    double c = 0.0;  // curvature
    double k = 0.0;
    double a4 = 0.0;
    double semi = 0.0;
    double hole = 0.0;
    double nBefore = kAir;
    double nAfter = kAir;
    Role role = Role::Refract;
    double back = 1.0;   // a mirror's substrate side along x
    double drawn = 1.0;  // how much a plate's aspheric profile is exaggerated in the picture
    double glass = 0.0;  // thickness of the glass behind a refracting surface, 0 in air
};

struct System {
    std::vector<Surf> surfs;
    int aperture = 0;
    double launchX = 0.0;  // a plane left of every surface, where rays are aimed from
};

double ConicSag(const Surf& s, double y) {
    const double root = 1.0 - (1.0 + s.k) * s.c * s.c * y * y;
    return s.c * y * y / (1.0 + std::sqrt(std::max(0.0, root)));
}

double Sag(const Surf& s, double y) {
    return ConicSag(s, y) + s.a4 * y * y * y * y;
}

// The profile as drawn: a plate's asphere made visible.
double DrawnSag(const Surf& s, double y) {
    return Sag(s, y) * s.drawn;
}

double SagSlope(const Surf& s, double y) {
    const double root = 1.0 - (1.0 + s.k) * s.c * s.c * y * y;
    const double conic = root > 0.0 ? s.c * y / std::sqrt(root) : 0.0;
    return conic + 4.0 * s.a4 * y * y * y;
}

struct Ray {
    double x = 0.0, y = 0.0;
    double dx = 1.0, dy = 0.0;  // unit direction
};

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

struct Path {
    Ray in;
    std::vector<Point> hits;
    Ray out;  // after the last surface traced
};

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

// --- Pictures --------------------------------------------------------------------------------

struct Stroke {
    std::vector<WorldPoint> points;
    Pen pen;
};

struct Sketch {
    std::vector<Stroke> strokes;
    std::optional<Point> focusMark;
};

WorldPoint W(double x, double y) {
    return {NarrowToFloat(x), NarrowToFloat(y)};
}

// The surface from height y0 to y1 as drawn, a sphere sampled by angle (so a hemisphere keeps
// its round rim), anything else by height.
void AppendArc(std::vector<WorldPoint>& out, const Surf& s, double y0, double y1,
               double shift = 0.0) {
    constexpr int kSamples = 40;
    const bool sphere = s.c != 0.0 && s.k == 0.0 && s.a4 == 0.0;
    for (int i = 0; i <= kSamples; ++i) {
        const double f = static_cast<double>(i) / kSamples;
        double y = y0 + (y1 - y0) * f;
        if (sphere) {
            const double r = 1.0 / std::fabs(s.c);
            const double a0 = std::asin(std::clamp(y0 / r, -1.0, 1.0));
            const double a1 = std::asin(std::clamp(y1 / r, -1.0, 1.0));
            y = r * std::sin(a0 + (a1 - a0) * f);
        }
        out.push_back(W(s.x + DrawnSag(s, y) + shift, y));
    }
}

// A lens element between two refracting surfaces: both faces, a flat where one face is
// smaller, and the cylindrical rim.
Stroke Element(const Surf& front, const Surf& rear) {
    const double rim = std::max(front.semi, rear.semi);
    const double frontEdge = front.x + DrawnSag(front, front.semi);
    const double rearEdge = rear.x + DrawnSag(rear, rear.semi);
    Stroke e{{}, {kGlassOutline, LineStyle::Solid, 1}};
    AppendArc(e.points, front, front.semi, -front.semi);
    e.points.push_back(W(frontEdge, -rim));
    e.points.push_back(W(rearEdge, -rim));
    AppendArc(e.points, rear, -rear.semi, rear.semi);
    e.points.push_back(W(rearEdge, rim));
    e.points.push_back(W(frontEdge, rim));
    e.points.push_back(e.points.front());
    return e;
}

// A mirror between heights y0 < y1 on one side of the axis, with its substrate behind it.
Stroke MirrorPiece(const Surf& s, double y0, double y1) {
    const double backing = s.back * std::max(kMirrorBacking * s.semi, 0.8);
    Stroke m{{}, {kGlassOutline, LineStyle::Solid, 1}};
    AppendArc(m.points, s, y0, y1);
    AppendArc(m.points, s, y1, y0, backing);
    m.points.push_back(m.points.front());
    return m;
}

void AddSystem(Sketch& sketch, const System& sys, const Prescription& p) {
    const std::vector<Surf>& s = sys.surfs;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i].role == Role::Mirror) {
            if (s[i].hole > 0.0) {
                sketch.strokes.push_back(MirrorPiece(s[i], s[i].hole, s[i].semi));
                sketch.strokes.push_back(MirrorPiece(s[i], -s[i].semi, -s[i].hole));
            } else {
                sketch.strokes.push_back(MirrorPiece(s[i], -s[i].semi, s[i].semi));
            }
        } else if (s[i].role == Role::Stop) {
            const double bar = std::max(kStopBar * s[i].semi, 1.0);
            const Pen pen{kBlack, LineStyle::Solid, 3};
            sketch.strokes.push_back({{W(s[i].x, s[i].semi), W(s[i].x, s[i].semi + bar)}, pen});
            sketch.strokes.push_back({{W(s[i].x, -s[i].semi), W(s[i].x, -s[i].semi - bar)}, pen});
        } else if (s[i].nAfter != kAir && i + 1 < s.size()) {
            sketch.strokes.push_back(Element(s[i], s[i + 1]));
        }
    }
    if (p.focalSurface) {
        Surf f;
        f.x = p.focalSurface->x;
        f.c = 1.0 / p.focalSurface->radius;
        Stroke film{{}, {kBlack, LineStyle::Solid, 1}};
        AppendArc(film.points, f, -p.focalSurface->semi, p.focalSurface->semi);
        sketch.strokes.push_back(film);
    }
}

// The point nearest to all rays of a bundle in the least-squares sense.
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

// The rays of one bundle through the whole system, aimed at the given fractions of the
// aperture; a ray that misses a surface, is totally reflected or falls into a mirror's hole is
// left out, and so is a bundle of fewer than two rays.
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

// Lenses and mirrors are made large enough for the rays that pass them.
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

void AddBundle(Sketch& sketch, const System& sys, const Prescription& p,
               const std::vector<Path>& paths, Colour colour) {
    const auto focus = Focus(paths);
    // The rays set out from one wavefront, a plane across the bundle before its first hit.
    double front = 0.0;
    for (const Path& path : paths) {
        const Point first = path.hits.front();
        const double along = first.x * path.in.dx + first.y * path.in.dy;
        if (&path == &paths.front() || along < front) front = along;
    }
    for (const Path& path : paths) {
        Stroke r{{}, {colour, LineStyle::Solid, 1}};
        const Point first = path.hits.front();
        const double back = p.lead + first.x * path.in.dx + first.y * path.in.dy - front;
        r.points.push_back(W(first.x - back * path.in.dx, first.y - back * path.in.dy));
        for (std::size_t i = 0; i < path.hits.size(); ++i) {
            const Surf& s = sys.surfs[i];
            // On a plate the ray meets the profile as drawn.
            const double y = path.hits[i].y;
            const double x = s.drawn != 1.0 ? s.x + DrawnSag(s, y) : path.hits[i].x;
            r.points.push_back(W(x, y));
        }
        const Ray& o = path.out;
        // Without a focus (a bundle leaving parallel) the rays run on for the lead's length;
        // a focus on or before the last surface ends them there.
        double run = p.lead;
        if (focus) run = std::max(0.0, (focus->x - o.x) * o.dx + (focus->y - o.y) * o.dy);
        r.points.push_back(W(o.x + run * o.dx, o.y + run * o.dy));
        sketch.strokes.push_back(std::move(r));
    }
}

// Where a ray close to the axis crosses it after the system.
std::optional<Point> ParaxialFocus(const System& sys) {
    const Surf& stop = sys.surfs[static_cast<std::size_t>(sys.aperture)];
    const auto ray = Aim(sys, 0.0, 1e-3 * stop.semi);
    if (!ray) return std::nullopt;
    const auto path = Trace(sys, *ray, false, static_cast<int>(sys.surfs.size()) - 1);
    if (!path || !(std::fabs(path->out.dy) > 1e-12)) return std::nullopt;
    const double t = -path->out.y / path->out.dy;
    return Point{path->out.x + t * path->out.dx, 0.0};
}

Sketch MakeSketch(const Prescription& p, SketchKind kind) {
    System sys = Place(p);
    // The rays are traced for the lens picture too: they size its elements.
    const std::vector<Path> axial = TraceBundle(sys, 0.0, p.axialFan);
    std::vector<Path> field;
    if (p.fieldAngle != 0.0) field = TraceBundle(sys, p.fieldAngle, p.fieldFan);
    FitRims(sys, {axial, field});
    Sketch sketch;
    AddSystem(sketch, sys, p);
    if (kind == SketchKind::Rays) {
        AddBundle(sketch, sys, p, axial, kAxialRays);
        AddBundle(sketch, sys, p, field, kFieldRays);
    }
    if (p.markFocus) sketch.focusMark = ParaxialFocus(sys);
    return sketch;
}

std::string Caption(const analysis::LensClass& type) {
    std::string caption;
    for (const std::string& name : type.names) {
        const auto first = name.find_first_not_of(' ');
        if (first == std::string::npos) continue;
        if (!caption.empty()) caption += " / ";
        caption += name.substr(first);
    }
    return caption;
}

// Below this many pixels a picture would be a smudge.
constexpr double kSmallestPicture = 24.0;
constexpr double kCaptionGap = 3.0;
constexpr double kFocusDot = 2.5;

}  // namespace

void DrawLensTypeSketch(Surface& surface, bool mirror, int index, SketchKind kind) {
    surface.Clear();
    const std::vector<analysis::LensClass>& types = analysis::LensClasses(mirror);
    const std::vector<Prescription> systems = Catalogue(mirror);
    if (index < 0 || index >= static_cast<int>(types.size()) ||
        index >= static_cast<int>(systems.size())) {
        return;
    }
    const ScaleRect area = surface.Scale();
    if (!(area.width > 0.0) || !(area.height > 0.0)) return;

    const std::string caption = Caption(types[static_cast<std::size_t>(index)]);
    const TextExtent text = surface.MeasureText(caption);
    const bool captionFits =
        text.width + 2 * kCaptionGap <= area.width && text.height + 2 * kCaptionGap <= area.height;
    ScaleRect pictureArea = area;
    if (captionFits) pictureArea.height -= text.height + kCaptionGap;

    const Sketch sketch = MakeSketch(systems[static_cast<std::size_t>(index)], kind);
    double xMin = 1e30, xMax = -1e30, yMin = 0.0, yMax = 0.0;
    const auto include = [&](double x, double y) {
        xMin = std::min(xMin, x);
        xMax = std::max(xMax, x);
        yMin = std::min(yMin, y);
        yMax = std::max(yMax, y);
    };
    for (const Stroke& s : sketch.strokes) {
        for (const WorldPoint& w : s.points) include(w.x, w.y);
    }
    if (sketch.focusMark) include(sketch.focusMark->x, sketch.focusMark->y);
    const double padX = 0.03 * (xMax - xMin), padY = 0.04 * (yMax - yMin);
    const DrawingExtents extents{NarrowToFloat(xMax + padX), NarrowToFloat(xMin - padX),
                                 NarrowToFloat(yMax + padY), NarrowToFloat(yMin - padY), true};

    const bool roomy = xMax > xMin && pictureArea.width - 2 * kFitMargin >= kSmallestPicture &&
                       pictureArea.height - 2 * kFitMargin >= kSmallestPicture;
    const auto frame = roomy ? FitEqualScale(pictureArea, extents, false) : std::nullopt;
    if (frame) {
        bool ok = DrawLine(surface, *frame, extents.xMin, 0.0f, extents.xMax, 0.0f,
                           {kBlack, LineStyle::Dotted, 1});
        for (const Stroke& s : sketch.strokes) {
            if (!ok) break;
            ok = DrawPolyline(surface, *frame, s.points, s.pen);
        }
        if (ok && sketch.focusMark) {
            const double fx =
                std::round(frame->scale.WorldToScreenX(NarrowToFloat(sketch.focusMark->x)));
            const double fy =
                std::round(frame->scale.WorldToScreenY(NarrowToFloat(sketch.focusMark->y)));
            if (std::isfinite(fx) && std::isfinite(fy)) {
                surface.Circle(fx, fy, kFocusDot, kBlack, true);
                (void)DrawLabelAt(surface, fx - 4, fy + kFocusDot + 1, "F", kBlack);
            }
        }
    }
    if (captionFits) {
        (void)DrawLabelAt(surface, area.left + kCaptionGap,
                          area.top + area.height - text.height - kCaptionGap, caption, kBlack);
    }
}

}  // namespace rs::drawing
