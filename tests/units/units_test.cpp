#include "units/units.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "units/typed_number.h"

namespace rs::units {
namespace {

using Stored = std::map<std::string, std::string, std::less<>>;

UnitKeyReader ReaderFor(const Stored& stored) {
    return [&stored](std::string_view key) {
        const auto it = stored.find(key);
        return it == stored.end() ? std::string() : it->second;
    };
}

std::vector<int> Codes(const UnitState& state, Group group) {
    std::vector<int> codes;
    for (int slot = 0; slot < SlotCount(group); ++slot)
        codes.push_back(state.UnitCode(group, slot));
    return codes;
}

TEST(UnitCatalogue, FactorsInTheirPrecision) {
    // The ten-decimal pi: arc minutes and degrees as the program has always converted them.
    // (Full pi would give ...208666e-4 and 0.0174532925199.)
    EXPECT_NEAR(UnitFactorOf(kArcMinute), 2.908882087037e-4, 1e-16);
    EXPECT_NEAR(UnitFactorOf(kDegree), 0.0174532925222222, 1e-16);
    // Paraxial groups hand out single-precision factors, beam groups the full double.
    EXPECT_EQ(std::pair(FactorForGroup(Group::Parax, kInch), FactorForGroup(Group::GB, kInch)),
              std::pair(static_cast<double>(25.4f), 25.4));
    EXPECT_EQ(UnitState{}.UnitFactor(Group::Parax, 6), static_cast<double>(0.01745329252f));
}

TEST(UnitState, SetUnitCodeAcceptsOnlyAllowedCodes) {
    // clang-format off
    // No km for the stop radius; a default outside the list; magnification slots hold MAG and
    // nothing else, and MAG fits nowhere else.
    const struct { Group group; int slot, code; bool accepted; } rows[] = {
        {Group::ParaxAp, 0, kKilometre, false}, {Group::ParaxAp, 1, kNoDimension, true},
        {Group::Parax, kMagnificationSlot, kMillimetre, false},
        {Group::Parax, 7, kMagnification, false}, {Group::ParaxDOF, kDofNearFar, kMetre, false},
        {Group::ParaxDOF, kDofFocus, kImperialAuto, true}, {Group::GBExtra, -1, kMillimetre, false}};
    // clang-format on
    for (const auto& row : rows) {  // accepted: stored; refused: nothing changes
        UnitState state;
        EXPECT_EQ(state.SetUnitCode(row.group, row.slot, row.code), row.accepted) << row.code;
        EXPECT_TRUE(row.accepted ? state.UnitCode(row.group, row.slot) == row.code
                                 : state == UnitState{});
    }
}

TEST(Autoscale, ThresholdsInSinglePrecision) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // 0.00999999999 and 499.99999 round to the single thresholds themselves and so take the
    // larger unit; 0.02 shows that centimetres are never chosen; beyond the single range,
    // infinity and NaN take the largest unit.
    // clang-format off
    const struct { int code; double valueMm; int expected; } rows[] = {
        {kMetricAuto, 0.0099999, kMicron}, {kMetricAuto, 0.00999999999, kMillimetre},
        {kMetricAuto, 0.02, kMillimetre}, {kMetricAuto, 499.99999, kMetre},
        {kMetricAuto, 500000.0, kKilometre}, {kMetricAuto, -inf, kKilometre},
        {kMetricAuto, nan, kKilometre}, {kImperialAuto, -0.25, kMil},
        {kImperialAuto, 12700.0, kFoot}, {kImperialAuto, 304800.0, kMile}};
    // clang-format on
    for (const auto& row : rows) {
        EXPECT_EQ(ResolveAuto(row.code, row.valueMm), row.expected)
            << row.code << " " << row.valueMm;
    }

    UnitState units;
    const auto resolved = units.AutoUnit(kDofNearFar, -750.0);  // the sign stays with the number
    EXPECT_EQ(std::tuple(resolved.factor, resolved.suffix), std::tuple(1000.0f, "m"));
    ASSERT_TRUE(units.SetUnitCode(Group::ParaxDOF, kDofNearFar, kCentimetre));
    EXPECT_EQ(units.AutoUnit(kDofNearFar, 1e9).code, kCentimetre);  // concrete units stay
}

TEST(UnitSettings, LoadingRules) {
    // Loading starts from the defaults. An empty expectation: the group's defaults.
    // clang-format off
    const struct { Group group; std::string stored; std::vector<int> expected; } rows[] = {
        {Group::Parax,
         "2, 3, 0, 1, 4, 5, 11, 6, 9, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 8",
         {2, 3, 0, 13, 4, 5, 11, 6, 9, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 8}},
        {Group::ParaxAp, "2, 17, 17, 17", {}},  // one entry short: whole key ignored
        {Group::ParaxAp, "4, 17, 17, 17, 0", {1, 17, 17, 17, 0}},  // no km for the stop radius
        {Group::ParaxAp, "99999999999999999999, 1x, +2, -1,  0 ", {1, 17, 2, 17, 0}},
        {Group::ParaxAp, "1.0, 0x2, 2 2, 3e0, --1", {}},
        {Group::ParaxDOF, "2, 0, 1, 4, 9, 13", {1, 1, 1, 15, 15, 15}},
        {Group::GB,  // lengths in the angle slots 6 and 9
         "1, 1, 1, 13, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1",
         {1, 1, 1, 13, 1, 1, 10, 1, 1, 10, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
        {Group::GBExtra, "2147483648", {}}};
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(GroupKey(row.group)) + " = \"" + row.stored + "\"");
        const Stored stored = {{std::string(GroupKey(row.group)), row.stored}};
        UnitState state;
        ASSERT_TRUE(state.SetUnitCode(Group::Parax, 0, kMetre));
        ASSERT_TRUE(state.SetUnitCode(Group::GBExtra, 0, kFoot));
        LoadUnits(state, ReaderFor(stored));
        for (Group group : kAllGroups) {
            const auto expected = group == row.group && !row.expected.empty()
                                      ? row.expected
                                      : Codes(UnitState{}, group);
            EXPECT_EQ(Codes(state, group), expected) << GroupKey(group);
        }
    }
}

TEST(UnitSettings, SaveFormat) {
    UnitState state;
    ASSERT_TRUE(state.SetUnitCode(Group::ParaxDOF, kDofFocus, kImperialAuto));
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Parax", "1, 1, 1, 13, 1, 1, 12, 1, 12, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1"},
        {"ParaxAp", "1, 17, 17, 17, 1"},
        {"ParaxDOF", "1, 16, 1, 15, 15, 15"},
        {"GB", "1, 1, 1, 13, 1, 1, 10, 1, 1, 10, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1"},
        {"GBExtra", "1"}};
    EXPECT_EQ(SaveUnits(state), expected);
}

// Any valid state survives a save and a load unchanged; whatever the file holds, every slot
// ends up with a code it may hold.
TEST(UnitSettings, RandomStatesRoundTripAndArbitraryTextLoadsToAllowedCodes) {
    std::mt19937 random(20240611u);
    const std::string alphabet = "0123456789,, -+x\t.";
    for (int trial = 0; trial < 500; ++trial) {
        UnitState original;
        for (Group group : kAllGroups) {
            for (int slot = 0; slot < SlotCount(group); ++slot) {
                const auto list = CategoryList(CategoryOf(group, slot));
                // One extra choice beyond the list stands for the slot's default.
                const std::size_t i = random() % (list.size() + 1);
                original.SetUnitCode(group, slot,
                                     i < list.size() ? list[i] : DefaultUnit(group, slot));
            }
        }
        Stored stored;
        for (const auto& [key, value] : SaveUnits(original)) stored[key] = value;
        UnitState loaded;
        LoadUnits(loaded, ReaderFor(stored));
        ASSERT_EQ(loaded, original) << "trial " << trial;

        for (auto& [key, text] : stored) {
            text.clear();
            for (auto n = random() % 81; n > 0; --n) text += alphabet[random() % alphabet.size()];
        }
        LoadUnits(loaded, ReaderFor(stored));
        for (Group group : kAllGroups) {
            for (int slot = 0; slot < SlotCount(group); ++slot) {
                ASSERT_TRUE(IsAllowed(group, slot, loaded.UnitCode(group, slot)))
                    << GroupKey(group) << " = \"" << stored[std::string(GroupKey(group))] << "\"";
            }
        }
        ASSERT_EQ(loaded.UnitCode(Group::Parax, kMagnificationSlot), kMagnification);
        ASSERT_EQ(loaded.UnitCode(Group::GB, kMagnificationSlot), kMagnification);
    }
}

TEST(TypedSuffix, Codes) {
    // Besides the catalogue suffixes: the usual other spellings (and the mile's old "ml"), and
    // nothing that differs in case, carries blanks, or is no convertible unit.
    // clang-format off
    const struct { std::string_view suffix; std::optional<int> code; } rows[] = {
        {"\xCE\xBCm", kMicron}, {"um", kMicron}, {"inch", kInch}, {"Grad", kDegree},
        {"\xC2\xB0", kDegree}, {"ml", kMile}, {"MM", {}}, {" mm", {}}, {"x", {}}, {"\xB5m", {}}};
    // clang-format on
    for (const auto& row : rows) EXPECT_EQ(CodeForSuffix(row.suffix), row.code) << row.suffix;
    for (int code = 0; code < kUnitCount; ++code) {
        if (IsLengthUnit(code) || IsAngleUnit(code)) {
            EXPECT_EQ(CodeForSuffix(UnitSuffixOf(code)), code);
        }
    }
}

// Paraxial factors are single precision, typed units included, and so is the range of a value.
// In a box shown in cm a plain number is in cm and millimetres still convert. The angle box
// (slot 6) shows degrees and takes radians and the German spelling, no lengths; the
// magnification box (slot 3) shows "-1.00x" and takes nothing but its own suffix. The number
// itself is checked by the text reader; here what the suffix adds.
TEST(TypedNumber, ShownTextsOtherUnitsOfTheSameKindAndSuffixesThatDoNotFit) {
    const double inch = FactorForGroup(Group::Parax, kInch);
    const double deg = FactorForGroup(Group::Parax, kDegree);
    const std::optional<double> none;
    // clang-format off
    const struct { bool cm; int slot; const char* text; std::optional<double> mm; } rows[] = {
        {false, 0, " 120.0 mm ", 120.0}, {false, 0, "-2,5e1 cm", -250.0},
        {false, 0, "2in", 2 * inch}, {false, 0, "1e3m", 1e6},  // the longest number: 1000 m
        {true, 0, "12", 120.0}, {true, 0, "120mm", 120.0}, {false, 6, "30 Grad", 30 * deg},
        {false, 6, "0.5rad", 0.5}, {false, 6, "30mm", none}, {false, 3, "-1.00x", -1.0},
        {false, 3, "2cm", none}, {false, 0, "1e30", 1e30}, {false, 0, "1e31", none},
        {false, 0, "12mm3", none}};
    // clang-format on
    for (const auto& r : rows) {
        UnitState u;
        ASSERT_TRUE(!r.cm || u.SetUnitCode(Group::Parax, 0, kCentimetre));
        EXPECT_EQ(ParseQuantity(r.text, u, Group::Parax, r.slot), r.mm) << r.text;
    }
    EXPECT_EQ(ParsePlainNumber("546nm", "nm"), 546.0);
    EXPECT_EQ(ParsePlainNumber("1,3300", ""), 1.33);
    EXPECT_FALSE(ParsePlainNumber("546mm", "nm") || ParsePlainNumber("1.5x", ""));
}

}  // namespace
}  // namespace rs::units
