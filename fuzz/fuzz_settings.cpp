// A settings file of any bytes: read as the program reads it, loaded, solved in its mode and
// described as JSON. Any crash, sanitizer report or hang is a finding.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/ini_file.h"
#include "app/presentation.h"
#include "app/settings.h"
#include "cli/cli.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const rs::app::IniFile ini = rs::app::IniFile::FromText("fuzz.ini", text);
    rs::app::DesignState state;
    rs::app::LoadSettings(ini, state);
    rs::app::SolveDesign(state, false);
    const std::string json = rs::cli::DesignJson(state);
    if (json.empty() || json.front() != '{' || json.back() != '}') __builtin_trap();
    return 0;
}
