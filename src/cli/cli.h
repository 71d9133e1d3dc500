#pragma once
// The command-line program: loads design files the way the window does at start-up, solves them
// and prints the result list or a JSON object, or sweeps a parameter and writes CSV; on request
// it also writes the printed report as PDF and the drawing as SVG or PNG.
#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/catalogue_lenses.h"
#include "app/design_state.h"
#include "text/file_read.h"
#include "text/strings.h"
#include "ui/reference.h"
#include "wavelengths/wavelengths.h"

namespace rs::cli {

enum ExitCode : int { kSolved = 0, kNotSolved = 1, kUsage = 2, kExportFailed = 3 };

// `args` without the program name; `programDir` is where the default settings file, the
// catalogue and the export module are looked for. The worst outcome of all files given.
int Run(const std::vector<std::string>& args, const std::filesystem::path& programDir,
        std::ostream& out, std::ostream& err);

// The JSON description of a loaded and solved design; in the beam mode with `catalogue` also the
// catalogue lenses the window's lens grid lists for it and the catalogue files not read.
std::string DesignJson(const app::DesignState& state,
                       const analysis::LensCatalogue* catalogue = nullptr);

// Control characters become '?' in every text printed (see text/strings.h).
using text::PlainText;

// The three lists of the wavelength picker, with the user's list `user` read from `userFile`:
// as lines "list, first name, second name, nm" with tabs, or as one JSON object (whose user part
// names why the user's file was not read, or null).
std::string WavelengthList(const std::filesystem::path& userFile, const wavelengths::UserList& user,
                           bool json);

// The files a reader left out as a JSON array of {"file", "reason"}.
std::string NotReadJson(const std::vector<text::FileNotRead>& files);

// A JSON string literal of `s`, with its quotes and escapes.
std::string JsonString(std::string_view s);
// The shortest text that reads back as `v`; null for a value JSON cannot hold.
std::string JsonNumber(float v);
std::string JsonNumber(double v);

// --reference: the rows of design A beside those of its reference B (ui/reference.h), as lines
// "name, A, B" with tabs, or as one JSON object.
std::string ComparisonText(const std::vector<ui::ComparedRow>& rows);
std::string ComparisonJson(const app::DesignState& a, const std::vector<ui::ComparedRow>& rows);

using text::CsvField;

// The catalogue lenses as CSV (code, kind, f', diameter, glass, available) or as JSON.
std::string LensList(const analysis::LensCatalogue& catalogue, bool json);

}  // namespace rs::cli
