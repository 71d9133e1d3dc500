#pragma once
// The approximate prescriptions behind the sample pictures of the lens and mirror types: each
// type of analysis::LensClasses as a list of surfaces in the order light meets them, with what
// the picture needs besides (the aperture the rays fill, the bundles, a curved image surface).
#include <optional>
#include <vector>

namespace rs::drawing::sketch_optics {

// Refractive index of air, behind a row that leaves the glass.
inline constexpr double kAir = 1.0;

enum class Role { Refract, Stop, Mirror };

// One surface of a prescription.
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
    std::optional<FocalSurface> focalSurface{};
    bool markFocus = false;  // a dot and "F" at the paraxial focus
};

// The systems of the lens types (or the mirror types), in the order of
// analysis::LensClasses(mirror).
const std::vector<Prescription>& Prescriptions(bool mirror);

}  // namespace rs::drawing::sketch_optics
