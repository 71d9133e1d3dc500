#pragma once
// The command-line program: loads a design file the way the window does at start-up, solves it
// and prints the result list or a JSON object; on request it also writes the printed report as
// PDF and the drawing as SVG or PNG.
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "analysis/catalogue_lenses.h"
#include "app/design_state.h"

namespace rs::cli {

enum ExitCode : int { kSolved = 0, kNotSolved = 1, kUsage = 2, kExportFailed = 3 };

// `args` without the program name; `programDir` is where the default settings file is looked for.
int Run(const std::vector<std::string>& args, const std::filesystem::path& programDir,
        std::ostream& out, std::ostream& err);

// The JSON description of a loaded and solved design; in the beam mode with `catalogue` also the
// catalogue lenses the window's lens grid lists for it.
std::string DesignJson(const app::DesignState& state,
                       const analysis::LensCatalogue* catalogue = nullptr);

}  // namespace rs::cli
