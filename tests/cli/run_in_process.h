#pragma once
// raysketcher-cli run inside the test's own process: its exit code and what it wrote. The test
// target names the build folder of the program as RAYSKETCHER_TEST_BIN and the example designs'
// folder as RAYSKETCHER_EXAMPLES.
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

// The path of the example design `name`.
inline std::string Example(const std::string& name) {
    return std::string(RAYSKETCHER_EXAMPLES) + "/" + name;
}

}  // namespace rs::cli
