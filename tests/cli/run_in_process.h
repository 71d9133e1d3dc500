#pragma once
// raysketcher-cli run inside the test's own process: its exit code and what it wrote. The test
// target names the build folder of the program as RAYSKETCHER_TEST_BIN.
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace rs::cli {

struct Outcome {
    int code;
    std::string out;
    std::string err;
};

inline Outcome RunCli(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int code = Run(args, RAYSKETCHER_TEST_BIN, out, err);
    return {code, out.str(), err.str()};
}

}  // namespace rs::cli
