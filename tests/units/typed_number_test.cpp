#include "units/typed_number.h"

#include <gtest/gtest.h>

namespace rs::units {
namespace {

std::optional<double> Focal(const UnitState& u, std::string_view text) {
    return ParseQuantity(text, u, Group::Parax, 0);
}

TEST(TypedNumber, ShownTextsAndOtherUnitsOfTheSameKind) {
    UnitState u;
    EXPECT_EQ(Focal(u, " 120.0 mm "), 120.0);
    EXPECT_EQ(Focal(u, "12cm"), 120.0);
    EXPECT_EQ(Focal(u, "-2,5e1 mm"), -25.0);
    EXPECT_EQ(Focal(u, "1e3m"), 1e6);  // the longest number wins: 1000 metres
    // Paraxial factors are single precision, typed units included.
    EXPECT_EQ(Focal(u, "2in"), 2 * FactorForGroup(Group::Parax, kInch));
    // In a box shown in cm a plain number is in cm, and millimetres still convert.
    ASSERT_TRUE(u.SetUnitCode(Group::Parax, 0, kCentimetre));
    EXPECT_EQ(Focal(u, "12"), 120.0);
    EXPECT_EQ(Focal(u, "120mm"), 120.0);

    // Angles: degrees shown, radians and the German spelling accepted; no lengths.
    const double deg = FactorForGroup(Group::Parax, kDegree);
    EXPECT_EQ(ParseQuantity("30 Grad", u, Group::Parax, 6), 30 * deg);
    EXPECT_EQ(ParseQuantity("0.5rad", u, Group::Parax, 6), 0.5);
    EXPECT_FALSE(ParseQuantity("30mm", u, Group::Parax, 6));
    // The magnification box shows "-1.00x"; its own suffix is all it takes.
    EXPECT_EQ(ParseQuantity("-1.00x", u, Group::Parax, 3), -1.0);
    EXPECT_FALSE(ParseQuantity("2cm", u, Group::Parax, 3));
}

TEST(TypedNumber, SuffixesThatDoNotFitAreNoNumber) {
    // The number itself is checked by the text reader; here only what the suffix adds, and
    // the single-precision range of a paraxial value.
    const UnitState u;
    for (const char* bad : {"mm", "12mm3", "12 34", "12deg", "12MM", "1e31"}) {
        EXPECT_FALSE(Focal(u, bad)) << bad;
    }
    EXPECT_TRUE(Focal(u, "1e30"));
    EXPECT_EQ(ParsePlainNumber("546nm", "nm"), 546.0);
    EXPECT_EQ(ParsePlainNumber("1,3300", ""), 1.33);
    EXPECT_FALSE(ParsePlainNumber("546mm", "nm"));
    EXPECT_FALSE(ParsePlainNumber("1.5x", ""));
}

TEST(TypedNumber, EqualityRule) {
    EXPECT_TRUE(engine::SameValue(0.0, 0.0));
    EXPECT_TRUE(engine::SameValue(100.0, 100.00000005));
    EXPECT_FALSE(engine::SameValue(0.0, 1e-9));  // zero is only equal to zero
    EXPECT_FALSE(engine::SameValue(100.0, 100.001));
}

}  // namespace
}  // namespace rs::units
