#pragma once
// Shared numeric comparison for tests: relative tolerance with an absolute floor near zero.
#include <gtest/gtest.h>

#include <cmath>

namespace rs::test {

inline ::testing::AssertionResult RelNear(double actual, double expected, double rel = 1e-5,
                                          double absFloor = 1e-9) {
    const double tol = std::max(absFloor, rel * std::fabs(expected));
    if (std::isfinite(actual) && std::fabs(actual - expected) <= tol) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << actual << " differs from expected " << expected << " by more than " << tol;
}

}  // namespace rs::test

#define EXPECT_REL(actual, expected) EXPECT_TRUE(::rs::test::RelNear((actual), (expected)))
#define EXPECT_REL_TOL(actual, expected, rel) \
    EXPECT_TRUE(::rs::test::RelNear((actual), (expected), (rel)))
