#include "units/units.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <random>
#include <string>
#include <vector>

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
    EXPECT_EQ(FactorForGroup(Group::Parax, kInch), static_cast<double>(25.4f));
    EXPECT_EQ(FactorForGroup(Group::GB, kInch), 25.4);
    EXPECT_EQ(UnitState{}.UnitFactor(Group::Parax, 6), static_cast<double>(0.01745329252f));
}

TEST(UnitState, SetUnitCodeAcceptsOnlyAllowedCodes) {
    // clang-format off
    const struct { Group group; int slot, code; bool accepted; } rows[] = {
        {Group::ParaxAp, 0, kKilometre, false},    // no km for the stop radius
        {Group::ParaxAp, 1, kNoDimension, true},   // a default outside the list
        // Magnification slots hold MAG and nothing else; MAG fits nowhere else.
        {Group::Parax, kMagnificationSlot, kMillimetre, false},
        {Group::GB, kMagnificationSlot, kMagnification, true},
        {Group::Parax, 7, kMagnification, false},
        {Group::ParaxDOF, kDofCircleOfConfusion, kMetricAuto, false},
        {Group::ParaxDOF, kDofFocus, kImperialAuto, true},
        {Group::ParaxDOF, kDofNearFar, kMetre, false},
        {Group::Parax, 21, kMillimetre, false}, {Group::GBExtra, -1, kMillimetre, false},
        {Group::Parax, 0, 18, false}};
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(GroupKey(row.group)) + " " + std::to_string(row.slot) + " " +
                     std::to_string(row.code));
        UnitState state;
        EXPECT_EQ(state.SetUnitCode(row.group, row.slot, row.code), row.accepted);
        if (row.accepted) {
            EXPECT_EQ(state.UnitCode(row.group, row.slot), row.code);
        } else {
            EXPECT_EQ(state, UnitState{});
        }
    }
}

TEST(Autoscale, ThresholdsInSinglePrecision) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // 0.00999999999 and 499.99999 round to the single thresholds themselves and so take the
    // larger unit; 0.02 shows that centimetres are never chosen; beyond the single range,
    // infinity and NaN take the largest unit; concrete units are never rescaled.
    // clang-format off
    const struct { int code; double valueMm; int expected; } rows[] = {
        {kMetricAuto, 0.0, kMicron}, {kMetricAuto, 0.0099999, kMicron},
        {kMetricAuto, 0.00999999999, kMillimetre}, {kMetricAuto, 0.02, kMillimetre},
        {kMetricAuto, 499.99999, kMetre}, {kMetricAuto, -750.0, kMetre},
        {kMetricAuto, 500000.0, kKilometre}, {kMetricAuto, -inf, kKilometre},
        {kMetricAuto, nan, kKilometre}, {kImperialAuto, -0.25, kMil},
        {kImperialAuto, 0.254, kInch}, {kImperialAuto, 12700.0, kFoot},
        {kImperialAuto, 304800.0, kMile}, {kImperialAuto, nan, kMile},
        {kCentimetre, 1e9, kCentimetre}};
    // clang-format on
    for (const auto& row : rows) {
        EXPECT_EQ(ResolveAuto(row.code, row.valueMm), row.expected)
            << "code " << row.code << ", value " << row.valueMm;
    }

    UnitState units;
    const auto resolved = units.AutoUnit(kDofNearFar, -750.0);
    EXPECT_EQ(resolved.factor, 1000.0f);
    EXPECT_EQ(resolved.suffix, "m");
    EXPECT_EQ(ToDisplay(-750.0, resolved.factor), -0.75);  // the sign stays with the number
    ASSERT_TRUE(units.SetUnitCode(Group::ParaxDOF, kDofNearFar, kCentimetre));
    EXPECT_EQ(units.AutoUnit(kDofNearFar, 1e9).code, kCentimetre);
}

TEST(UnitSettings, LoadingRules) {
    // An empty expectation: the group's defaults.
    // clang-format off
    const struct { Group group; std::string stored; std::vector<int> expected; } rows[] = {
        {Group::Parax,
         "2, 3, 0, 1, 4, 5, 11, 6, 9, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 8",
         {2, 3, 0, 13, 4, 5, 11, 6, 9, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 8}},
        {Group::ParaxAp, "2, 17, 17, 17", {}},  // one entry short: whole key ignored
        {Group::ParaxAp, "4, 17, 17, 17, 0", {1, 17, 17, 17, 0}},  // no km for the stop radius
        {Group::ParaxAp, "1,,2,17,0", {1, 17, 2, 17, 0}},
        {Group::ParaxAp, "99999999999999999999, 1x, +2, -1,  0 ", {1, 17, 2, 17, 0}},
        {Group::ParaxAp, "1.0, 0x2, 2 2, 3e0, --1", {}},
        {Group::ParaxDOF, "0, 16, 15, 16, 2, 5", {0, 16, 15, 16, 2, 5}},
        {Group::ParaxDOF, "2, 0, 1, 4, 9, 13", {1, 1, 1, 15, 15, 15}},
        {Group::GB,  // lengths in the angle slots 6 and 9
         "1, 1, 1, 13, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1",
         {1, 1, 1, 13, 1, 1, 10, 1, 1, 10, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
        {Group::GBExtra, "8,", {}},
        {Group::GBExtra, "2147483648", {}},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(GroupKey(row.group)) + " = \"" + row.stored + "\"");
        const Stored stored = {{std::string(GroupKey(row.group)), row.stored}};
        UnitState state;
        LoadUnits(state, ReaderFor(stored));
        for (Group group : kAllGroups) {
            const auto expected = group == row.group && !row.expected.empty()
                                      ? row.expected
                                      : Codes(UnitState{}, group);
            EXPECT_EQ(Codes(state, group), expected) << GroupKey(group);
        }
    }
}

TEST(UnitSettings, LoadStartsFromDefaultsAndAsksEveryKeyOnce) {
    UnitState state;
    ASSERT_TRUE(state.SetUnitCode(Group::Parax, 0, kMetre));
    ASSERT_TRUE(state.SetUnitCode(Group::GBExtra, 0, kFoot));
    std::vector<std::string> asked;
    LoadUnits(state, [&](std::string_view key) {
        asked.emplace_back(key);
        return key == "GB" ? std::string("garbage") : std::string();
    });
    EXPECT_EQ(state, UnitState{});
    EXPECT_EQ(asked, (std::vector<std::string>{"Parax", "ParaxAp", "ParaxDOF", "GB", "GBExtra"}));
}

TEST(UnitSettings, SaveFormat) {
    UnitState state;
    ASSERT_TRUE(state.SetUnitCode(Group::ParaxDOF, kDofFocus, kImperialAuto));
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Parax", "1, 1, 1, 13, 1, 1, 12, 1, 12, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1"},
        {"ParaxAp", "1, 17, 17, 17, 1"},
        {"ParaxDOF", "1, 16, 1, 15, 15, 15"},
        {"GB", "1, 1, 1, 13, 1, 1, 10, 1, 1, 10, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1"},
        {"GBExtra", "1"},
    };
    EXPECT_EQ(SaveUnits(state), expected);
}

// Any valid state survives a save and a load unchanged.
TEST(UnitSettings, SaveLoadRoundTripOfRandomStates) {
    std::mt19937 random(20240611u);
    for (int trial = 0; trial < 300; ++trial) {
        UnitState original;
        for (Group group : kAllGroups) {
            for (int slot = 0; slot < SlotCount(group); ++slot) {
                const auto list = CategoryList(CategoryOf(group, slot));
                std::uniform_int_distribution<std::size_t> pick(0, list.size());
                const std::size_t i = pick(random);
                // One extra choice beyond the list stands for the slot's default.
                original.SetUnitCode(group, slot,
                                     i < list.size() ? list[i] : DefaultUnit(group, slot));
            }
        }
        Stored stored;
        for (const auto& [key, value] : SaveUnits(original)) stored[key] = value;
        UnitState loaded;
        LoadUnits(loaded, ReaderFor(stored));
        ASSERT_EQ(loaded, original) << "trial " << trial;
    }
}

// Whatever the file holds, every slot ends up with a code it may hold.
TEST(UnitSettings, ArbitraryTextLoadsToAllowedCodes) {
    std::mt19937 random(7u);
    const std::string alphabet = "0123456789,, -+x\t.";
    std::uniform_int_distribution<std::size_t> letter(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 80);
    for (int trial = 0; trial < 500; ++trial) {
        Stored stored;
        for (Group group : kAllGroups) {
            std::string text;
            for (int n = length(random); n > 0; --n) text += alphabet[letter(random)];
            stored[std::string(GroupKey(group))] = text;
        }
        UnitState state;
        LoadUnits(state, ReaderFor(stored));
        for (Group group : kAllGroups) {
            for (int slot = 0; slot < SlotCount(group); ++slot) {
                ASSERT_TRUE(IsAllowed(group, slot, state.UnitCode(group, slot)))
                    << GroupKey(group) << " = \"" << stored[std::string(GroupKey(group))] << "\"";
            }
        }
        ASSERT_EQ(state.UnitCode(Group::Parax, kMagnificationSlot), kMagnification);
        ASSERT_EQ(state.UnitCode(Group::GB, kMagnificationSlot), kMagnification);
    }
}

TEST(TypedSuffix, CodesAndFamilies) {
    // Besides the catalogue suffixes: the usual other spellings, and nothing that differs in
    // case, carries blanks, or is no convertible unit.
    // clang-format off
    const struct { std::string_view suffix; std::optional<int> code; } rows[] = {
        {"\xCE\xBCm", kMicron}, {"um", kMicron}, {"inch", kInch}, {"Grad", kDegree},
        {"\xC2\xB0", kDegree}, {"MM", {}}, {" mm", {}}, {"x", {}}, {"\xB5m", {}}};
    // clang-format on
    for (const auto& row : rows) EXPECT_EQ(CodeForSuffix(row.suffix), row.code) << row.suffix;
    for (int code = 0; code < kUnitCount; ++code) {
        if (IsLengthUnit(code) || IsAngleUnit(code)) {
            EXPECT_EQ(CodeForSuffix(UnitSuffixOf(code)), code);
        }
    }

    // clang-format off
    const struct { int a, b; bool same; } pairs[] = {
        {kMicron, kMile, true}, {kArcMinute, kMilliradian, true}, {kMillimetre, kDegree, false},
        {kMillimetre, kMetricAuto, false}, {kMagnification, kMagnification, false},
        {-1, kMillimetre, false}};
    // clang-format on
    for (const auto& p : pairs) {
        EXPECT_EQ(SameCategoryFamily(p.a, p.b), p.same) << p.a << " " << p.b;
        EXPECT_EQ(SameCategoryFamily(p.b, p.a), p.same) << p.b << " " << p.a;
    }
}

}  // namespace
}  // namespace rs::units
