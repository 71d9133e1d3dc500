// The whole command line in memory: a design file of any bytes and arguments of any text, run
// from argument parsing through the output. The input is split at NUL bytes: the design file
// first (written as d.ini into a folder of this process, which is the working folder during the
// run and the program's folder), then the arguments. Arguments naming other folders (a '/') are
// left out, so nothing is written outside that folder; sweeps are kept short. Any crash, sanitizer
// report, hang or an exit code the program does not document is a finding.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "app/sweep.h"
#include "cli/cli.h"

namespace {

namespace fs = std::filesystem;

// A folder of this process, removed again when the fuzzer ends.
class Folder {
public:
    Folder()
        : path_(fs::temp_directory_path() /
                ("raysketcher-fuzz-cli-" + std::to_string(::getpid()))) {
        fs::create_directories(path_);
    }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    const fs::path& operator()() const { return path_; }

    // Empty again, but for the design file.
    void Reset(std::string_view design) const {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(path_, ec)) fs::remove_all(entry, ec);
        std::ofstream(path_ / "d.ini", std::ios::binary)
            .write(design.data(), static_cast<std::streamsize>(design.size()));
    }

private:
    fs::path path_;
};

const Folder kFolder;

// A sweep of more than a few hundred steps only repeats itself, slowly.
bool LongSweep(std::string_view arg) {
    if (arg.starts_with("--sweep=")) arg.remove_prefix(8);
    const auto plan = rs::app::ParseSweep(arg);
    return std::holds_alternative<rs::app::SweepPlan>(plan) &&
           std::get<rs::app::SweepPlan>(plan).steps > 300;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t end = input.find('\0', start);
        parts.push_back(input.substr(start, end - start));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    std::vector<std::string> args;
    for (std::size_t k = 1; k < parts.size(); ++k) {
        if (parts[k].find('/') != std::string_view::npos || LongSweep(parts[k])) return 0;
        args.emplace_back(parts[k]);
    }
    kFolder.Reset(parts[0]);
    // The program's relative names lead into the folder; the fuzzer's own (its corpus) do not.
    const fs::path before = fs::current_path();
    fs::current_path(kFolder());
    std::ostringstream out;
    std::ostringstream err;
    const int code = rs::cli::Run(args, kFolder(), out, err);
    fs::current_path(before);
    if (code < rs::cli::kSolved || code > rs::cli::kExportFailed) __builtin_trap();
    // Every refusal and failure says why.
    if (code >= rs::cli::kUsage && err.str().empty()) __builtin_trap();
    return 0;
}
