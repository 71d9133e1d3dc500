#pragma once
// Designs made on the command line: --new starts from the program's default design, --settings -
// reads the design from standard input, --choose picks the chosen parameters and --set types
// values into them, under the rules and with the messages of the window's boxes; --save writes
// the result as a settings file the window opens.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "analysis/catalogue_lenses.h"
#include "app/design_state.h"

namespace rs::cli {

// "--settings -": the design comes from standard input.
inline constexpr std::string_view kStandardInput = "-";

struct DesignEdits {
    std::optional<bool> newBeam;                  // --new: the default design, in the beam mode?
    std::optional<std::string> choose;            // --choose NAME,NAME,NAME[,APERTURE]
    std::vector<std::string> sets;                // --set NAME=VALUE, in the order given
    std::optional<std::filesystem::path> save;    // --save FILE
    std::optional<std::string> lensCode;          // --lens CODE
    std::optional<analysis::CatalogueLens> lens;  // its lens, once found in the catalogue

    // Whether the design differs from what was read, so that what is written must be made anew.
    bool Changes() const { return newBeam || choose || lensCode || !sets.empty(); }

    // Take the option's value; the German message when it is bad or given twice.
    std::optional<std::string> TakeNew(std::string_view mode);
    std::optional<std::string> TakeChoose(std::string_view names);
    std::optional<std::string> TakeSet(std::string_view nameValue);
    std::optional<std::string> TakeSave(std::string_view file);

    // What the edits cannot do with the other options: the German message.
    std::optional<std::string> CombinationProblem(std::size_t settingsFiles, int standardInputs,
                                                  bool listsOnly) const;
};

// A design as read (and edited) for the outputs.
struct LoadedDesign {
    std::filesystem::path file;
    // The settings file's bytes the exports and --save load the design from, so pictures, file
    // and list agree: as read, or the edited design as the window would save it over them.
    std::string bytes;
    app::DesignState state;
};

// Completes `loaded` for the edits: with --new the default design (no file is read), for
// kStandardInput the design read from standard input (at most as big as a settings file may be);
// otherwise `loaded` already holds the design of its file. Then --choose and --set are applied,
// and `bytes` become the edited design as the window would save it over what was read. Nothing,
// or the German message naming the bad name or value, or why the input could not be read.
std::optional<std::string> PrepareDesign(const DesignEdits& edits, LoadedDesign& loaded);

// `loaded.bytes` made anew from its state, as the window would save it over what was read.
void StageBytes(LoadedDesign& loaded);

// --choose, --lens and --set on a loaded design, in that order; the first refusal's German message.
std::optional<std::string> ApplyEdits(const DesignEdits& edits, app::DesignState& design);

}  // namespace rs::cli
