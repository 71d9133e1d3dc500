#include "app/sweep_csv.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <unordered_map>

#include "text/number_text.h"
#include "text/strings.h"
#include "text/tr.h"

namespace rs::app {
namespace {

// The text of each column's last number: many columns stay constant along a sweep, and the
// number text is what a row costs most.
class CellTexts {
public:
    explicit CellTexts(std::size_t columns) : last_(columns) {}

    // Appends the cell's text (nothing where there is no number) to `out`.
    void Append(std::size_t column, SweepNumber n, std::string& out) {
        if (!std::isfinite(n.value)) return;
        Last& last = last_[column];
        if (!last.valid || last.single != n.single ||
            std::bit_cast<std::uint64_t>(last.value) != std::bit_cast<std::uint64_t>(n.value)) {
            last.text.clear();
            if (n.single) {
                text::AppendShortestText(last.text, static_cast<float>(n.value));
            } else {
                text::AppendShortestText(last.text, n.value);
            }
            last.value = n.value;
            last.single = n.single;
            last.valid = true;
        }
        out += last.text;
    }

private:
    struct Last {
        double value = 0;
        bool single = false;
        bool valid = false;
        std::string text;
    };
    std::vector<Last> last_;
};

}  // namespace

CsvOutcome WriteSweepCsv(const std::vector<SweepInput>& inputs,
                         const std::function<bool(std::string_view)>& sink) {
    const bool several = inputs.size() > 1;
    // The union of the columns in first-seen order, and where each file's columns go.
    std::vector<std::string> header;
    std::unordered_map<std::string, std::size_t> position;
    std::vector<std::vector<std::size_t>> slots;
    if (several) header.emplace_back(text::Tr("Datei"));
    for (const SweepInput& in : inputs) {
        std::vector<std::size_t> mine;
        for (const std::string& cell : in.sweep->Header()) {
            const auto [it, added] = position.try_emplace(cell, header.size());
            if (added) header.push_back(cell);
            mine.push_back(it->second);
        }
        slots.push_back(std::move(mine));
    }
    std::string chunk;
    for (std::size_t k = 0; k < header.size(); ++k) {
        if (k > 0) chunk += ',';
        chunk += text::CsvField(text::PlainText(header[k]));
    }
    chunk += '\n';
    constexpr std::size_t kChunk = 1 << 16;
    CsvOutcome outcome;
    CellTexts texts(header.size());
    constexpr std::size_t kNoCell = static_cast<std::size_t>(-1);
    std::vector<std::size_t> source(header.size());  // per column: the file's number, if any
    for (std::size_t f = 0; f < inputs.size() && !outcome.stopped; ++f) {
        std::fill(source.begin(), source.end(), kNoCell);
        for (std::size_t k = 0; k < slots[f].size(); ++k) source[slots[f][k]] = k;
        const std::string label = text::CsvField(text::PlainText(inputs[f].label));
        const auto take = [&](const SweepRow& r) {
            if (several) chunk += label;
            for (std::size_t k = several ? 1 : 0; k < source.size(); ++k) {
                if (k > 0) chunk += ',';
                if (source[k] != kNoCell) texts.Append(k, r.numbers[source[k]], chunk);
            }
            chunk += '\n';
            if (chunk.size() < kChunk) return true;
            const bool taken = sink(chunk);
            chunk.clear();
            return taken;
        };
        const SweepOutcome swept = inputs[f].sweep->Run(take);
        outcome.unsolved += swept.unsolved;
        outcome.stopped = swept.stopped;
    }
    if (!outcome.stopped && !sink(chunk)) outcome.stopped = true;
    return outcome;
}

}  // namespace rs::app
