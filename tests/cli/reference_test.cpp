// --reference: two example designs compared row by row, as text and as JSON, and designs of
// different modes refused.
#include <gtest/gtest.h>

#include <string>

#include "cli/run_in_process.h"

namespace rs::cli {
namespace {

TEST(CliReference, TwoDesignsRowByRow) {
    const Outcome json = RunCli({"--settings", Example("relay-1to1.ini"), "--reference",
                                 Example("camera-50mm-f4-1m.ini"), "--json"});
    EXPECT_EQ(json.code, kSolved) << json.err;
    EXPECT_NE(
        json.out.find(
            "{\"name\":\"Brennweite: f'\",\"id\":\"Brennweite\",\"unit\":\"mm\",\"a\":100,\"b\":50,"
            "\"difference\":-50,\"differs\":true}"),
        std::string::npos)
        << json.out;
    const Outcome text = RunCli(
        {"--settings", Example("relay-1to1.ini"), "--reference", Example("camera-50mm-f4-1m.ini")});
    EXPECT_EQ(text.code, kSolved) << text.err;
    EXPECT_NE(text.out.find("Brennweite: f'\t 100.0mm\t 50.0mm\n"), std::string::npos) << text.out;
    // A design beside itself: every row the same.
    const Outcome self = RunCli({"--settings", Example("hene-focus-100mm.ini"), "--reference",
                                 Example("hene-focus-100mm.ini"), "--json"});
    EXPECT_EQ(self.code, kSolved);
    EXPECT_EQ(self.out.find("\"differs\":true"), std::string::npos) << self.out;
    EXPECT_NE(self.out.find("\"differs\":false"), std::string::npos);
}

TEST(CliReference, OtherModeOrBadCallRefused) {
    const Outcome modes = RunCli(
        {"--settings", Example("relay-1to1.ini"), "--reference", Example("hene-focus-100mm.ini")});
    EXPECT_EQ(modes.code, kUsage);
    EXPECT_EQ(modes.out, "");
    EXPECT_NE(modes.err.find("Gaußstrahl"), std::string::npos);
    EXPECT_EQ(std::count(modes.err.begin(), modes.err.end(), '\n'), 1);
    EXPECT_EQ(
        RunCli({"--settings", Example("relay-1to1.ini"), "--reference", Example("no-such.ini")})
            .code,
        kUsage);
    EXPECT_EQ(RunCli({"--reference", Example("relay-1to1.ini"), "--settings",
                      Example("relay-1to1.ini"), "--sweep", "a=-300:-200:3"})
                  .code,
              kUsage);
}

}  // namespace
}  // namespace rs::cli
