// A settings file of any bytes, loaded, saved and loaded again: the design that comes back must
// save to the same text as the one that went in. A difference is a finding (a value that does
// not survive its own save, or a load that depends on more than the saved keys).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "app/ini_file.h"
#include "app/settings.h"

namespace {

// The saves fail on purpose (the folder does not exist), so nothing touches the disk; the staged
// values stay in the document, which is what a save would have written.
constexpr const char* kNowhere = "/nonexistent-raysketcher-fuzz/fuzz.ini";

std::string SavedText(const rs::app::DesignState& state, std::string_view fileText) {
    rs::app::IniFile ini = rs::app::IniFile::FromText(kNowhere, fileText);
    (void)rs::app::SaveSettings(state, ini);
    return ini.Document().Serialize();
}

rs::app::DesignState Loaded(std::string_view fileText) {
    rs::app::DesignState state;
    rs::app::LoadSettings(rs::app::IniFile::FromText(kNowhere, fileText), state);
    return state;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string first = SavedText(Loaded(input), input);
    const std::string second = SavedText(Loaded(first), first);
    if (first != second) {
        std::fprintf(stderr,
                     "settings round trip differs:\n--- first save\n%s\n--- second save\n%s\n",
                     first.c_str(), second.c_str());
        __builtin_trap();
    }
    return 0;
}
