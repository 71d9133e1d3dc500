#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec && argc > 0) exe = std::filesystem::absolute(argv[0], ec);
    return rs::cli::Run(args, exe.parent_path(), std::cout, std::cerr);
}
