#pragma once
// Loading and saving the design in the settings file.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "app/design_state.h"
#include "app/ini_file.h"

namespace rs::app {

// Clamps a stored "SliderDefaultPercent" to 10..80.
int ClampSliderPercent(int stored);

// Reads the design from `ini` into `state`, in the file's order: slider percentage, the three
// parameter sets, advanced values and options, depth-of-field extras, beam extras, units, and
// the symbols of the chosen symbol set. The three parameter sets are emptied first; everything
// else missing from the file keeps its standard value. Malformed records are skipped.
void LoadSettings(const IniFile& ini, DesignState& state);

// Writes the design into `ini` (staged) and saves the file atomically.
WriteStatus SaveSettings(const DesignState& state, IniFile& ini);

// The encodings of the file.
bool ReadBool(std::string_view text);
std::string BoolText(bool value);
std::string NumberText(float value);
std::string NumberText(double value);
// "index|value|defined|hiDefined|hi|lowDefined|low"; nothing when fewer than seven fields.
std::optional<engine::CVarType> ParseRecord(std::string_view text);
std::string RecordText(const engine::CVarType& record);

// A symbol lookup in section "Symbols" (or "SymbolsGB"), for symbol mode 1.
engine::SymbolLookup SymbolsFrom(const IniFile& ini, std::string section = "Symbols");

// Window placement: top, left, height, width in twips, under "FormPosn_<name>".
std::optional<std::array<double, 4>> ReadFormPosition(const IniFile& ini, std::string_view form);
WriteStatus WriteFormPosition(IniFile& ini, std::string_view form, const std::array<double, 4>& pos);

}  // namespace rs::app
