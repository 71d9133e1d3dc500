// The --sweep argument and a design file of any bytes: the first line of the input is the
// argument, the rest the design file. A plan that parses is swept (at most a few hundred steps)
// and written as CSV; every row must have as many cells as the header, and there must be one
// row per step.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "app/ini_file.h"
#include "app/presentation.h"
#include "app/settings.h"
#include "app/sweep.h"
#include "app/sweep_csv.h"

namespace {

// The number of cells of each line of a CSV text (quoted fields may hold commas and quotes).
std::vector<std::size_t> CellCounts(std::string_view csv) {
    std::vector<std::size_t> counts;
    std::size_t cells = 1;
    bool quoted = false;
    for (char c : csv) {
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && c == ',') {
            ++cells;
        } else if (!quoted && c == '\n') {
            counts.push_back(cells);
            cells = 1;
        }
    }
    if (quoted) __builtin_trap();  // a quote left open
    return counts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t line = std::min(input.find('\n'), input.size());
    auto parsed = rs::app::ParseSweep(input.substr(0, line));
    if (!std::holds_alternative<rs::app::SweepPlan>(parsed)) return 0;
    auto plan = std::get<rs::app::SweepPlan>(parsed);
    plan.steps = std::min<std::int64_t>(plan.steps, 300);
    const std::string_view design = line < input.size() ? input.substr(line + 1) : "";
    rs::app::DesignState state;
    rs::app::LoadSettings(rs::app::IniFile::FromText("fuzz.ini", design), state);
    rs::app::SolveDesign(state, false);
    auto prepared = rs::app::DesignSweep::Prepare(state, plan);
    if (!std::holds_alternative<rs::app::DesignSweep>(prepared)) return 0;
    auto& sweep = std::get<rs::app::DesignSweep>(prepared);
    std::string csv;
    rs::app::WriteSweepCsv({{"fuzz.ini", &sweep}, {"zwei,\"te\".ini", &sweep}},
                           [&](std::string_view chunk) {
                               csv += chunk;
                               return true;
                           });
    const std::vector<std::size_t> counts = CellCounts(csv);
    if (counts.size() != static_cast<std::size_t>(2 * plan.steps + 1)) __builtin_trap();
    for (std::size_t n : counts) {
        if (n != counts.front()) __builtin_trap();
    }
    return 0;
}
