#include "drawing/lens_prescriptions.h"

namespace rs::drawing::sketch_optics {
namespace {

// Refractive indices (d line). Only the steps between them matter to a picture.
constexpr double kCrown = 1.517;
constexpr double kBariumCrown = 1.6;
constexpr double kFlint = 1.65;
constexpr double kDenseFlint = 1.72;
constexpr double kLanthanum = 1.75;
constexpr double kPlastic = 1.585;  // a moulded lens, and the disc's cover layer

Row Stop(double thickness, double semi) {
    return {0.0, thickness, kAir, semi, Role::Stop};
}

Row Mirror(double radius, double thickness, double semi, double conic = 0.0, double hole = 0.0) {
    return {radius, thickness, kAir, semi, Role::Mirror, conic, 0.0, hole};
}

}  // namespace

// Approximate systems of about 100 mm focal length (the microscope and disc objectives at their
// own small scale), their curvatures tuned so that the traced rays meet; the pictures need
// nothing more. Lens rims follow the rays: a row's semi-diameter is only its least size.
const std::vector<Prescription>& Prescriptions(bool mirror) {
    static const std::vector<Prescription> lenses = {
        // Two deep negative menisci bend the steep field towards the axis; a compact positive group
        // with a cemented doublet behind the stop forms the image.
        {.rows = {{60.0, 3.0, kCrown, 38.0},
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
                  {-68.1, 20.0, kAir, 7.5}},
         .aperture = 6,
         .fieldAngle = 70.0,
         .lead = 25.0},
        // Symmetric about the stop: a strong negative meniscus outside, a thick positive doublet
        // inside.
        {.rows = {{57.6, 2.0, kCrown, 19.0},
                  {13.7, 6.0, kAir, 13.0},
                  {20.1, 8.0, kLanthanum, 11.0},
                  {135.0, 1.5, kFlint, 11.0},
                  {75.7, 3.0, kAir, 7.0},
                  Stop(3.0, 5.0),
                  {-75.7, 1.5, kFlint, 7.0},
                  {-135.0, 8.0, kLanthanum, 11.0},
                  {-20.1, 6.0, kAir, 11.0},
                  {-13.7, 2.0, kCrown, 13.0},
                  {-57.6, 40.0, kAir, 19.0}},
         .aperture = 5,
         .fieldAngle = 30.0,
         .lead = 25.0},
        // A negative front meniscus far ahead of a positive triplet-like group: the image lies
        // further behind the lens than its focal length.
        {.rows = {{70.0, 3.0, kCrown, 26.0},
                  {26.0, 28.0, kAir, 20.0},
                  {40.0, 6.0, kLanthanum, 13.0},
                  {-120.0, 4.0, kAir, 13.0},
                  Stop(4.0, 8.0),
                  {-35.0, 2.0, kDenseFlint, 9.0},
                  {35.0, 3.0, kAir, 9.5},
                  {90.0, 6.0, kLanthanum, 11.0},
                  {-30.0, 60.0, kAir, 11.0}},
         .aperture = 4,
         .fieldAngle = 35.0},
        // Positive outer elements, and two thick meniscus doublets turning their hollow sides to
        // the central stop.
        {.rows = {{71.3, 8.0, kLanthanum, 24.0},
                  {166.0, 0.5, kAir, 24.0},
                  {42.9, 11.0, kLanthanum, 20.0},
                  {94.5, 3.0, kDenseFlint, 20.0},
                  {30.8, 9.0, kAir, 15.0},
                  Stop(9.0, 14.0),
                  {-33.3, 3.0, kDenseFlint, 15.0},
                  {-86.1, 11.0, kLanthanum, 19.0},
                  {-42.8, 0.5, kAir, 19.0},
                  {210.0, 7.0, kLanthanum, 21.0},
                  {-131.0, 70.0, kAir, 21.0}},
         .aperture = 5,
         .fieldAngle = 22.0},
        // Positive, negative, positive, with the stop behind the middle element.
        {.rows = {{40.0, 6.0, kBariumCrown, 14.0},
                  {-250.0, 9.0, kAir, 14.0},
                  {-45.0, 2.0, kFlint, 10.0},
                  {38.0, 4.0, kAir, 10.0},
                  Stop(5.0, 8.5),
                  {180.0, 5.5, kBariumCrown, 11.0},
                  {-36.0, 80.0, kAir, 11.0}},
         .aperture = 4,
         .fieldAngle = 20.0},
        // One meniscus, hollow side to the stop in front of it.
        {.rows = {Stop(15.0, 3.5), {-40.0, 3.0, kCrown, 9.0}, {-22.6, 100.0, kAir, 9.0}},
         .aperture = 0,
         .fieldAngle = 15.0},
        // A cemented front doublet, the stop, and far behind it a second positive group of two
        // singlets.
        {.rows = {{88.9, 9.0, kCrown, 18.0},
                  {-56.6, 3.0, kFlint, 18.0},
                  {-314.0, 25.0, kAir, 18.0},
                  Stop(25.0, 16.0),
                  {87.0, 3.0, kFlint, 15.0},
                  {44.3, 2.0, kAir, 15.0},
                  {50.9, 8.0, kCrown, 15.0},
                  {-134.0, 40.0, kAir, 15.0}},
         .aperture = 3,
         .fieldAngle = 10.0},
        // Drawn the way round that takes parallel light from the left: two doublets, a meniscus,
        // and the nearly hemispherical front lens with its flat face towards the specimen.
        {.rows = {{21.9, 3.0, kCrown, 6.0},
                  {-11.5, 1.5, kDenseFlint, 6.0},
                  {-29.5, 1.0, kAir, 6.0},
                  {13.8, 3.0, kCrown, 5.5},
                  {-10.5, 1.5, kDenseFlint, 5.5},
                  {-44.6, 0.5, kAir, 5.5},
                  {4.92, 3.0, kFlint, 4.5},
                  {12.0, 0.3, kAir, 4.0},
                  {3.11, 3.0, kCrown, 2.95},
                  {0.0, 0.5, kAir, 2.95}},
         .aperture = 0,
         .lead = 12.0},
        // A biconvex crown cemented to a negative flint.
        {.rows = {{61.0, 6.0, kCrown, 13.0},
                  {-44.0, 2.5, kFlint, 13.0},
                  {-130.0, 95.0, kAir, 13.0}},
         .aperture = 0},
        // One strongly curved aspheric singlet focusing through the disc's cover layer onto the
        // data on its far face.
        {.rows = {{2.6, 2.4, kPlastic, 2.0, Role::Refract, -0.891},
                  {-8.0, 1.68, kAir, 1.9, Role::Refract, -8.3},
                  {0.0, 1.2, kPlastic, 2.6},
                  {0.0, 0.0, kAir, 2.6}},
         .aperture = 0,
         .lead = 3.0},
        // A plano-convex lens and a meniscus, bending a wide beam to a short focus in two steps.
        {.rows = {{40.0, 9.0, kCrown, 22.0},
                  {0.0, 1.0, kAir, 22.0},
                  {25.0, 8.0, kCrown, 18.0},
                  {60.0, 30.0, kAir, 16.0}},
         .aperture = 0,
         .lead = 20.0},
        // Symmetric: two meniscus doublets around the stop.
        {.rows = {{33.0, 6.0, kBariumCrown, 12.0},
                  {31.6, 2.0, kFlint, 11.0},
                  {42.1, 4.0, kAir, 9.0},
                  Stop(4.0, 6.0),
                  {-42.1, 2.0, kFlint, 9.0},
                  {-31.6, 6.0, kBariumCrown, 11.0},
                  {-33.0, 80.0, kAir, 12.0}},
         .aperture = 3,
         .fieldAngle = 25.0},
        // A positive meniscus behind the stop, and a thick negative element just before the image
        // that flattens the field.
        {.rows = {Stop(5.0, 7.0),
                  {25.0, 6.0, kBariumCrown, 10.0},
                  {50.0, 61.4, kAir, 10.0},
                  {-36.9, 8.0, kFlint, 6.0},
                  {16.5, 3.0, kAir, 6.0}},
         .aperture = 0,
         .fieldAngle = 5.0},
        // A triplet whose rear element is a cemented pair.
        {.rows = {{57.3, 5.0, kBariumCrown, 13.0},
                  {-195.0, 6.0, kAir, 13.0},
                  {-44.1, 1.5, kFlint, 10.0},
                  {119.0, 3.5, kAir, 10.0},
                  Stop(4.0, 9.0),
                  {358.0, 1.5, kFlint, 11.0},
                  {24.4, 6.0, kBariumCrown, 11.0},
                  {-38.4, 80.0, kAir, 11.0}},
         .aperture = 4,
         .fieldAngle = 20.0},
        // A triplet with its rear positive element split in two.
        {.rows = {{48.3, 7.0, kLanthanum, 18.0},
                  {266.0, 8.0, kAir, 18.0},
                  {-60.5, 2.0, kFlint, 13.0},
                  {44.6, 4.0, kAir, 12.0},
                  Stop(4.0, 12.0),
                  {-130.0, 5.0, kLanthanum, 14.0},
                  {-143.0, 1.0, kAir, 14.0},
                  {173.0, 5.0, kLanthanum, 14.0},
                  {-49.8, 75.0, kAir, 14.0}},
         .aperture = 4,
         .fieldAngle = 13.0}};
    static const std::vector<Prescription> mirrors = {
        // A corrector plate, a spherical primary with a hole, and a convex secondary on the back of
        // the plate sending the light through the hole.
        {.rows = {{0.0, 6.0, kCrown, 32.0},
                  {-7532.0, 74.0, kAir, 32.0, Role::Refract, 0.0, 4.322e-8},
                  Mirror(-200.0, -74.0, 33.0, 0.0, 4.0),
                  Mirror(-70.8, 100.0, 7.0, 0.0, 0.0)},
         .aperture = 0,
         .axialFan = {-0.9, -0.55, 0.55, 0.9},
         .lead = 40.0},
        // The corrector plate at the mirror's centre of curvature, and the curved image surface
        // halfway between them.
        {.rows = {{0.0, 6.0, kCrown, 30.0},
                  {-6020.0, 194.0, kAir, 30.0, Role::Refract, 0.0, 6.152e-8},
                  Mirror(-200.0, -100.0, 50.0, 0.0, 0.0)},
         .aperture = 0,
         .fieldAngle = 5.0,
         .lead = 40.0,
         .focalSurface = FocalSurface{100.0, -100.0, 15.0}},
        // A paraboloid primary with a hole and a hyperboloid secondary (the classical pair; the
        // aplanatic variant differs only in the conics, invisible at this scale).
        {.rows = {Mirror(-200.0, -65.0, 30.0, -1.0, 5.0), Mirror(-114.5, 90.0, 11.0, -5.17)},
         .aperture = 0,
         .axialFan = {-0.9, -0.55, 0.55, 0.9},
         .lead = 110.0},
        // A concave paraboloid with its focus.
        {.rows = {Mirror(-200.0, -100.0, 40.0, -1.0)},
         .aperture = 0,
         .lead = 140.0,
         .markFocus = true}};
    return mirror ? mirrors : lenses;
}

}  // namespace rs::drawing::sketch_optics
