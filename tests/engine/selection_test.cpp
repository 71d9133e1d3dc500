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

// Faults of the calling code are refused and change nothing.
TEST(Selection, CallerFaultsAreReportedAndChangeNothing) {
    Selection s(3);
    s.Add(2);
    const Selection before = s;
    EXPECT_FALSE(s.Add(2).ok() || s.Remove(4).ok() || s.Replace(9, 3, 1.f).ok() ||
                 s.SetValue(2, 1).ok());
    EXPECT_EQ(s, before);

    ParaxialDesign d;
    EXPECT_FALSE(d.AddParam(20).ok());  // f is never chosen
    EXPECT_FALSE(d.AddAperture(5).ok());
    EXPECT_EQ(d.params.Count(), 0);
}

// Each rule by its message's own word.
TEST(CheckCombination, RulesAndMessages) {
    struct Row {
        std::vector<int> clicks;  // the last one is the index just added
        std::string word;         // empty: allowed
    };
    // clang-format off
    const std::vector<Row> rows = {
        {{0}, ""}, {{8, 6}, "Bildwinkel"}, {{0, 5, 7}, ""}, {{3, 5, 7}, "Vergrößerung"},
        {{8, 3, 6}, "Vergrößerung"}, {{0, 1, 2}, "Feld-Option"}, {{5, 6, 7}, "Abstände"},
        {{6, 5, 1}, "Objektweite"}, {{1, 8, 5}, "Objektweite"}, {{2, 7, 8}, "Bildweite"},
        {{2, 6, 7}, "Bildweite"}, {{0, 6, 8}, "Bildwinkel"}, {{4, 5, 6}, ""}, {{2, 5, 8}, ""}};
    // clang-format on
    for (const Row& r : rows) {
        Selection s(3);
        for (int i : r.clicks) s.Add(i);
        const std::string message = CheckCombination(s, r.clicks.back()).value_or("");
        EXPECT_EQ(message.empty(), r.word.empty()) << message;
        EXPECT_NE(message.find(r.word), std::string::npos) << r.word;
        // A rejected parameter is removed again.
        EXPECT_EQ(s.Contains(r.clicks.back()), r.word.empty());
    }
}

}  // namespace
}  // namespace rs::engine
