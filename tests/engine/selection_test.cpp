#include "engine/selection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "engine/paraxial_design.h"

namespace rs::engine {
namespace {

std::vector<int> Indices(const Selection& s) {
    std::vector<int> v;
    for (const CVarType& e : s.Entries()) v.push_back(e.nVarType);
    return v;
}

TEST(Selection, StaysSortedAndBounded) {
    std::vector<int> order = {7, 0, 3};
    do {
        Selection s(3);
        for (int i : order) EXPECT_TRUE(s.Add(i).ok());
        EXPECT_EQ(Indices(s), (std::vector<int>{0, 3, 7}));
    } while (std::next_permutation(order.begin(), order.end()));

    Selection s(3);
    for (int i : {5, 1, 2}) s.Add(i);
    bool added = true;
    EXPECT_TRUE(s.Add(4, std::nullopt, &added).ok());  // a fourth is silently refused
    EXPECT_FALSE(added);
    EXPECT_EQ(Indices(s), (std::vector<int>{1, 2, 5}));

    // Replace keeps the order and takes the new value, with limits only when asked for.
    ASSERT_TRUE(s.Replace(1, 7, 42.f, true, 40.f, 44.f).ok());
    EXPECT_EQ(Indices(s), (std::vector<int>{2, 5, 7}));
    EXPECT_EQ(s.At(3), (CVarType{7, 42.f, true, 40.f, 44.f, true, true}));
    ASSERT_TRUE(s.Replace(7, 0, 3.f).ok());
    EXPECT_EQ(s.At(1), (CVarType{0, 3.f, true, 0, 0, false, false}));
}

// Faults of the calling code are shown to the user as they are; they change nothing.
TEST(Selection, CallerFaultsAreReportedAndChangeNothing) {
    Selection s(3);
    s.Add(2);
    const Selection before = s;
    EXPECT_EQ(s.Add(2).diagnostic, "Bad Add:1\t2");
    EXPECT_EQ(s.Remove(4).diagnostic, "BadDel");
    EXPECT_EQ(s.Replace(9, 3, 1.f).diagnostic, "BadDel");
    EXPECT_FALSE(s.SetValue(2, 1).ok());
    EXPECT_EQ(s, before);

    ParaxialDesign d;
    EXPECT_FALSE(d.AddParam(20).ok());  // f is never chosen
    EXPECT_FALSE(d.AddAperture(5).ok());
    EXPECT_EQ(d.params.Count(), 0);
}

TEST(CheckCombination, RulesAndMessages) {
    const std::string angles =
        "Objekt- und Bildwinkel können nicht unabhängig voneinander definiert werden! ";
    const std::string noField = "Sie müssen mindestens eine Feld-Option wählen! ";
    const std::string noDistance = "Sie müssen ein oder zwei Abstände wählen! ";
    const std::string impossible =
        "Unmögliche Kombination; ergibt nahezu immer einen nicht konsistenten Wert für die ";
    const std::string magnif = impossible + "Vergrößerung! ";
    const std::string obj = impossible + "Objektweite! ";
    const std::string img = impossible + "Bildweite! ";
    struct Row {
        std::vector<int> clicks;  // the last one is the index just added
        std::string message;      // empty: allowed
    };
    const std::vector<Row> rows = {
        {{0}, ""},           {{8, 6}, angles},     {{0, 5, 7}, ""},         {{3, 5, 7}, magnif},
        {{8, 3, 6}, magnif}, {{0, 1, 2}, noField}, {{5, 6, 7}, noDistance}, {{6, 5, 1}, obj},
        {{1, 8, 5}, obj},    {{2, 7, 8}, img},     {{2, 6, 7}, img},        {{0, 6, 8}, angles},
        {{4, 5, 6}, ""},     {{2, 5, 8}, ""}};
    for (const Row& r : rows) {
        Selection s(3);
        for (int i : r.clicks) s.Add(i);
        const auto message = CheckCombination(s, r.clicks.back());
        EXPECT_EQ(message.value_or(""), r.message);
        // A rejected parameter is removed again.
        EXPECT_EQ(s.Contains(r.clicks.back()), r.message.empty());
    }
}

}  // namespace
}  // namespace rs::engine
