#pragma once
// A sweep's rows as CSV text, streamed in pieces so that a table of any length needs the memory
// of one piece. The command line's --sweep and the window's study export both write it, so the
// same study gives the same bytes wherever it is saved.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/sweep.h"

namespace rs::app {

// A sweep's table over one or more designs: the header once, with a leading "Datei" column
// naming the file when there are several; columns missing from a file's design stay empty.
// The columns are the union of all designs' columns in first-seen order.
struct SweepInput {
    std::string label;  // the file as the user named it
    DesignSweep* sweep;
};

struct CsvOutcome {
    std::int64_t unsolved = 0;  // steps that could not be solved
    bool stopped = false;       // the sink refused a piece: the table is incomplete
};

// Writes the CSV text in pieces to `sink` (header first, then the rows as they are solved); a
// sink that returns false ends the table there. Names from the design files reach the header
// with their control characters replaced, as in every text the program prints.
CsvOutcome WriteSweepCsv(const std::vector<SweepInput>& inputs,
                         const std::function<bool(std::string_view)>& sink);

}  // namespace rs::app
