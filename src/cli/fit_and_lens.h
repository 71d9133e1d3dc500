#pragma once
// Two tasks of the window's Übernehmen buttons on the command line: --lens takes a catalogue
// lens into the design, --fit fits a beam to measured diameters from a CSV file, prints it and,
// with --element-at, makes it the design's object beam.
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "analysis/catalogue_lenses.h"
#include "cli/design_edits.h"

namespace rs::cli {

struct FitRequest {
    std::optional<std::filesystem::path> file;  // --fit FILE: z;d or z;d1;d2 in mm
    std::optional<double> wavelengthNm;         // --wavelength NM
    std::optional<double> elementAt;            // --element-at Z: the element's z, mm

    // Take the option's value; the German message when it is bad or given twice.
    std::optional<std::string> TakeFile(std::string_view file);
    std::optional<std::string> TakeWavelength(std::string_view nm);
    std::optional<std::string> TakeElementAt(std::string_view z);

    // What the fit cannot do with the other options: the German message. `others` tells that
    // an output other than --json and --save was asked for.
    std::optional<std::string> CombinationProblem(const DesignEdits& edits,
                                                  std::size_t settingsFiles, bool others) const;
};

// Finds the lens of --lens in the catalogue found at `where`; the German message when there is
// no catalogue or the code is not in it.
std::optional<std::string> FindRequestedLens(DesignEdits& edits,
                                             const analysis::CatalogueLocation& where,
                                             std::ostream& err);

// --fit: reads the file, fits each axis at the wavelength asked for (else the design's, else
// the standard one), and prints the values and warnings as lines or JSON. With --element-at the
// fit becomes the object beam of `design` (the loaded design, edits applied, or nothing) and the
// measurement is kept in it. An exit code; the messages go to `err`.
int RunFit(const FitRequest& fit, bool json, LoadedDesign* design, std::ostream& out,
           std::ostream& err);

}  // namespace rs::cli
