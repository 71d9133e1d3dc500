#pragma once
// Loading and saving the design in the settings file.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "app/design_state.h"
#include "app/ini_file.h"

namespace rs::app {

// Reads the design from `ini` into `state`: slider percentage (clamped to 10..80), the three
// parameter sets, advanced values and options, depth-of-field extras, beam extras, units, and
// the symbols of the chosen symbol set. The three parameter sets are emptied first; a key
// missing from the file gives its standard value, except for the image-format choice, the
// advanced values and the custom circle of confusion, which stay as they are.
// Malformed records are skipped; values the window would refuse give the standard value.
void LoadSettings(const IniFile& ini, DesignState& state);

// Writes the design into `ini` (staged) and saves the file atomically.
WriteStatus SaveSettings(const DesignState& state, IniFile& ini);
// Only stages the design in `ini`, for a caller that writes the document's text elsewhere.
void StageSettings(const DesignState& state, IniFile& ini);

// The reference design the user pinned to compare with, kept in section "Referenz" by the same
// keys as the design (each as "<section>.<key>"). Nothing when the file keeps none, or when what
// it keeps does not read back as a complete design of its mode (a damaged section never touches
// the design itself). The symbols are the user's, read from the file's own sections.
std::optional<DesignState> LoadReference(const IniFile& ini);
// Stages `reference` (nullptr: none is kept any more) in `ini`; the caller commits.
void StageReference(const DesignState* reference, IniFile& ini);

// A flag of the file: "true", "wahr" or "vrai" in any case, with blanks around, is true.
bool ReadBool(std::string_view text);

// A symbol lookup in section "Symbols" (or "SymbolsGB"), for symbol mode 1.
engine::SymbolLookup SymbolsFrom(const IniFile& ini, std::string section = "Symbols");

// Window placement: top, left, height, width in twips, under "FormPosn_<name>".
std::optional<std::array<double, 4>> ReadFormPosition(const IniFile& ini, std::string_view form);
WriteStatus WriteFormPosition(IniFile& ini, std::string_view form,
                              const std::array<double, 4>& pos);

}  // namespace rs::app
