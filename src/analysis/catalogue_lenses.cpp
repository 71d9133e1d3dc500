#include "analysis/catalogue_lenses.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <fstream>
#include <utility>

#include "analysis/thick_lens.h"
#include "text/file_read.h"
#include "text/number_text.h"
#include "text/strings.h"
#include "text/tr.h"

namespace rs::analysis {
using text::Tr;
using text::TrFormat;
using text::TrNoop;
namespace {

namespace fs = std::filesystem;

// --- Record layouts (data/README.md describes the same tables in words)
// ---------------------------

// Every lens record starts alike: four codes, the description, the series text, then the optics.
constexpr int kCodeLength = 9;
constexpr int kDescriptionAt = 36;
constexpr int kDescriptionLength = 45;
constexpr int kSeriesAt = 81;
constexpr int kSeriesLength = 17;
constexpr int kOpticsAt = 98;
constexpr int kGlassNameLength = 10;
constexpr int kGlassLength = kGlassNameLength + 4 + 4;  // name, index, Abbe number
constexpr int kCoatingLength = 9;

// A sequence record: 16-bit type code, 32-bit record number counted from 1.
constexpr int kSequenceLength = 6;
constexpr std::int16_t kEndCode = 6;

struct RecordLayout {
    std::int16_t typeCode;
    CatalogueKind kind;
    std::string_view file;
    int length;
    int surfaces;
    // Fields only some files have; -1 where a file has none.
    int shapeAt;
    int bestFormAt;
    int revisionAt;
    int lengthAt;
    // Fields every file has, after the optics.
    int obsoleteAt;
    int coatingAt;
    int valuesAt;
    int valueCount;

    // The optics: all radii, all semi-diameters, the thicknesses and then the media (name,
    // index, Abbe number) behind every surface but the last.
    constexpr int RadiusAt(int i) const { return kOpticsAt + 4 * i; }
    constexpr int SemiAt(int i) const { return kOpticsAt + 4 * surfaces + 4 * i; }
    constexpr int ThicknessAt(int i) const { return kOpticsAt + 8 * surfaces + 4 * i; }
    constexpr int GlassAt(int i) const { return kOpticsAt + 12 * surfaces - 4 + kGlassLength * i; }
};

constexpr std::array<RecordLayout, 5> kLayouts = {{
    {1, CatalogueKind::kSingle, "SH_L1.dat", 177, 2, 136, 147, 151, -1, 149, 138, 153, 6},
    {2, CatalogueKind::kAchromat, "SH_L2.dat", 205, 3, -1, -1, -1, -1, 166, 168, 177, 7},
    {3, CatalogueKind::kAirSpacedAchromat, "SH_L2a.dat", 235, 4, -1, -1, -1, -1, 196, 198, 207, 7},
    {4, CatalogueKind::kTriplet, "SH_L3.dat", 235, 4, -1, -1, -1, -1, 196, 198, 207, 7},
    {5, CatalogueKind::kCylinder, "SH_C1.dat", 199, 2, -1, -1, -1, 136, 140, 142, 151, 12},
}};

// Every byte of a record belongs to exactly one field.
constexpr bool Tiles(const RecordLayout& l) {
    std::array<int, 256> used{};
    auto mark = [&](int at, int size) {
        if (at < 0) return;
        for (int i = at; i < at + size; ++i) ++used[static_cast<std::size_t>(i)];
    };
    mark(0, 4 * kCodeLength);
    mark(kDescriptionAt, kDescriptionLength);
    mark(kSeriesAt, kSeriesLength);
    for (int i = 0; i < l.surfaces; ++i) {
        mark(l.RadiusAt(i), 4);
        mark(l.SemiAt(i), 4);
        if (i + 1 < l.surfaces) {
            mark(l.ThicknessAt(i), 4);
            mark(l.GlassAt(i), kGlassLength);
        }
    }
    mark(l.shapeAt, 2);
    mark(l.bestFormAt, 2);
    mark(l.revisionAt, 2);
    mark(l.lengthAt, 4);
    mark(l.obsoleteAt, 2);
    mark(l.coatingAt, kCoatingLength);
    mark(l.valuesAt, 4 * l.valueCount);
    for (int i = 0; i < 256; ++i) {
        if (used[static_cast<std::size_t>(i)] != (i < l.length ? 1 : 0)) return false;
    }
    return true;
}
static_assert(std::ranges::all_of(kLayouts, Tiles));
static_assert(kLayouts[0].GlassAt(0) == 118 && kLayouts[0].SemiAt(1) == 110);

const RecordLayout& LayoutOf(CatalogueKind kind) {
    if (kind == CatalogueKind::kBestForm) return kLayouts[0];
    return *std::ranges::find(kLayouts, kind, &RecordLayout::kind);
}

// --- Bytes -------------------------------------------------------------------------------------

using Bytes = std::span<const unsigned char>;

std::uint32_t U32(Bytes r, int at) {
    const auto* p = r.data() + at;
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::int16_t I16(Bytes r, int at) {
    const auto* p = r.data() + at;
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | p[1] << 8));
}
std::int32_t I32(Bytes r, int at) {
    return static_cast<std::int32_t>(U32(r, at));
}
float F32(Bytes r, int at) {
    return std::bit_cast<float>(U32(r, at));
}

// An 8-bit text field: NULs count as blanks, blanks around are dropped.
std::string Text(Bytes r, int at, int length) {
    std::string raw(reinterpret_cast<const char*>(r.data() + at), static_cast<std::size_t>(length));
    std::ranges::replace(raw, '\0', ' ');
    return text::Cp1252ToUtf8(text::TrimBlanks(raw));
}

std::string AsciiUpper(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

// The bytes of a file read as an unsigned view.
Bytes AsBytes(const std::string& bytes) {
    return {reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()};
}

// --- Reading -----------------------------------------------------------------------------------

std::optional<CatalogueLens> Decode(const RecordLayout& l, Bytes r) {
    CatalogueLens lens;
    lens.kind = l.kind;
    for (int i = 0; i < 4; ++i) {
        lens.codes[static_cast<std::size_t>(i)] = Text(r, i * kCodeLength, kCodeLength);
    }
    lens.description = Text(r, kDescriptionAt, kDescriptionLength);
    lens.series = Text(r, kSeriesAt, kSeriesLength);
    lens.coating = Text(r, l.coatingAt, kCoatingLength);

    bool finite = true;
    auto number = [&](int at) {
        const float v = F32(r, at);
        finite = finite && std::isfinite(v);
        return static_cast<double>(v);
    };
    lens.surfaces.resize(static_cast<std::size_t>(l.surfaces));
    for (int i = 0; i < l.surfaces; ++i) {
        CatalogueSurface& s = lens.surfaces[static_cast<std::size_t>(i)];
        s.radius = number(l.RadiusAt(i));
        s.semiDiameter = number(l.SemiAt(i));
        if (i + 1 < l.surfaces) {
            s.thickness = number(l.ThicknessAt(i));
            s.glass = NormalGlassName(Text(r, l.GlassAt(i), kGlassNameLength));
            s.index = number(l.GlassAt(i) + kGlassNameLength);
            s.abbe = number(l.GlassAt(i) + kGlassNameLength + 4);
        }
    }
    if (l.bestFormAt >= 0 && I16(r, l.bestFormAt) != 0) lens.kind = CatalogueKind::kBestForm;
    if (l.shapeAt >= 0) lens.shape = I16(r, l.shapeAt);
    if (l.revisionAt >= 0) lens.revision = I16(r, l.revisionAt);
    if (l.lengthAt >= 0) lens.cylinderLength = number(l.lengthAt);
    lens.available = I16(r, l.obsoleteAt) == 0;
    lens.values.reserve(static_cast<std::size_t>(l.valueCount));
    for (int k = 0; k < l.valueCount; ++k) {
        lens.values.push_back(static_cast<float>(number(l.valuesAt + 4 * k)));
    }
    if (!finite) return std::nullopt;

    for (const CatalogueSurface& s : lens.surfaces) {
        if (s.index < 1.0 || s.thickness < 0.0) return std::nullopt;
        lens.aperture = std::max(lens.aperture, s.semiDiameter);
    }
    if (!(lens.aperture > 0.0)) return std::nullopt;
    const auto focal = TraceFocalLength(lens.surfaces);
    if (!focal) return std::nullopt;
    lens.focalLength = *focal;
    return lens;
}

// --- Writing -----------------------------------------------------------------------------------

class RecordWriter {
public:
    explicit RecordWriter(std::size_t length) : bytes_(length, static_cast<unsigned char>(' ')) {}

    void U32At(int at, std::uint32_t v) {
        for (int k = 0; k < 4; ++k) bytes_[Index(at + k)] = static_cast<unsigned char>(v >> 8 * k);
    }
    void I16At(int at, std::int16_t v) {
        const auto u = static_cast<std::uint16_t>(v);
        bytes_[Index(at)] = static_cast<unsigned char>(u & 0xFF);
        bytes_[Index(at + 1)] = static_cast<unsigned char>(u >> 8);
    }
    void F32At(int at, double v) { U32At(at, std::bit_cast<std::uint32_t>(static_cast<float>(v))); }
    // False when the text does not fit its field.
    bool TextAt(int at, int length, std::string_view utf8) {
        const std::string cp = text::Utf8ToCp1252(utf8);
        if (cp.size() > static_cast<std::size_t>(length)) return false;
        std::ranges::copy(cp, bytes_.begin() + at);
        return true;
    }
    const std::vector<unsigned char>& Bytes() const { return bytes_; }

private:
    static std::size_t Index(int at) { return static_cast<std::size_t>(at); }
    std::vector<unsigned char> bytes_;
};

// The record of `lens` in its file's layout, or what keeps it from being written.
std::string Encode(const RecordLayout& l, const CatalogueLens& lens, RecordWriter& w) {
    const std::string name = lens.codes[0].empty() ? lens.description : lens.codes[0];
    if (lens.surfaces.size() != static_cast<std::size_t>(l.surfaces)) {
        return name + ": " + std::to_string(lens.surfaces.size()) + " surfaces, " +
               std::string(KindText(lens.kind)) + " records have " + std::to_string(l.surfaces);
    }
    bool fits = true;
    for (int i = 0; i < 4; ++i) {
        fits &= w.TextAt(i * kCodeLength, kCodeLength, lens.codes[static_cast<std::size_t>(i)]);
    }
    fits &= w.TextAt(kDescriptionAt, kDescriptionLength, lens.description);
    fits &= w.TextAt(kSeriesAt, kSeriesLength, lens.series);
    fits &= w.TextAt(l.coatingAt, kCoatingLength, lens.coating);
    for (int i = 0; i < l.surfaces; ++i) {
        const CatalogueSurface& s = lens.surfaces[static_cast<std::size_t>(i)];
        w.F32At(l.RadiusAt(i), s.radius);
        w.F32At(l.SemiAt(i), s.semiDiameter);
        if (i + 1 < l.surfaces) {
            w.F32At(l.ThicknessAt(i), s.thickness);
            fits &= w.TextAt(l.GlassAt(i), kGlassNameLength, s.glass);
            w.F32At(l.GlassAt(i) + kGlassNameLength, s.index);
            w.F32At(l.GlassAt(i) + kGlassNameLength + 4, s.abbe);
        }
    }
    if (!fits) return name + ": a text is too long for its field";
    if (l.bestFormAt >= 0) {
        w.I16At(l.bestFormAt, lens.kind == CatalogueKind::kBestForm ? std::int16_t{-1} : 0);
    }
    if (l.shapeAt >= 0) w.I16At(l.shapeAt, lens.shape);
    if (l.revisionAt >= 0) w.I16At(l.revisionAt, lens.revision);
    if (l.lengthAt >= 0) w.F32At(l.lengthAt, lens.cylinderLength);
    w.I16At(l.obsoleteAt, lens.available ? std::int16_t{0} : std::int16_t{-1});
    for (int k = 0; k < l.valueCount; ++k) {
        const auto at = static_cast<std::size_t>(k);
        w.F32At(l.valuesAt + 4 * k, at < lens.values.size() ? lens.values[at] : 0.0f);
    }
    return {};
}

bool WriteFile(const fs::path& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

bool HasCatalogue(const fs::path& dir) {
    std::error_code ec;
    return fs::is_regular_file(dir / kSequenceFile, ec);
}

}  // namespace

std::string_view KindText(CatalogueKind kind) {
    switch (kind) {
        case CatalogueKind::kSingle:
            return TrNoop("Einzellinse");
        case CatalogueKind::kBestForm:
            return TrNoop("Einzellinse bester Form");
        case CatalogueKind::kAchromat:
            return TrNoop("Achromat");
        case CatalogueKind::kAirSpacedAchromat:
            return TrNoop("Achromat [Luftspalt]");
        case CatalogueKind::kTriplet:
            return TrNoop("Triplet");
        case CatalogueKind::kCylinder:
            return TrNoop("Zylinder");
    }
    return {};
}

std::string_view CatalogueLens::Code() const {
    for (const std::string& code : codes) {
        if (!code.empty()) return code;
    }
    return {};
}

std::string CatalogueLens::GlassText() const {
    std::string out;
    std::string_view previous;
    for (const CatalogueSurface& s : surfaces) {
        if (s.glass.empty() || s.glass == previous) continue;
        if (!out.empty()) out += '/';
        out += s.glass;
        previous = s.glass;
    }
    return out;
}

std::optional<double> TraceFocalLength(std::span<const CatalogueSurface> surfaces) {
    const auto trace = TraceParallelRay(surfaces, 1.0, 1.0);
    if (!trace) return std::nullopt;
    const double f = -1.0 / trace->nu;
    if (!std::isfinite(f)) return std::nullopt;
    return f;
}

std::string NormalGlassName(std::string_view name) {
    std::string upper = AsciiUpper(text::TrimBlanks(name));
    if (upper == "SF56") upper = "SF56A";
    return upper;
}

std::string DisplayText(const CatalogueLens& lens, bool withSeries) {
    std::string_view description = text::TrimBlanks(lens.description);
    if (const auto at = AsciiUpper(description).find("F ="); at != std::string::npos) {
        description = text::TrimBlanks(description.substr(0, at));
    }
    std::string out;
    if (withSeries && !lens.series.empty()) {
        out = lens.series;
        if (!description.empty()) out += ' ';
    }
    out += description;
    if (!lens.available) out += " ... OBSOLET";
    return out;
}

bool LensCatalogue::Add(CatalogueLens lens) {
    std::array<std::string, 4> keys;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        keys[i] = AsciiUpper(text::TrimBlanks(lens.codes[i]));
        if (!keys[i].empty() && byCode_.contains(keys[i])) return false;
    }
    for (std::string& key : keys) {
        if (!key.empty()) byCode_.emplace(std::move(key), lenses_.size());
    }
    lenses_.push_back(std::move(lens));
    return true;
}

const CatalogueLens* LensCatalogue::Find(std::string_view code) const {
    const auto it = byCode_.find(AsciiUpper(text::TrimBlanks(code)));
    return it == byCode_.end() ? nullptr : &lenses_[it->second];
}

namespace {

using LensFiles = std::array<text::FileRead, kLayouts.size()>;

// No legitimate file holds more records than a sequence can name.
LensFiles ReadLensFiles(const fs::path& dir) {
    LensFiles files;
    for (std::size_t k = 0; k < kLayouts.size(); ++k) {
        files[k] = text::ReadFileBounded(
            dir / kLayouts[k].file,
            kMaxSequenceRecords * static_cast<std::size_t>(kLayouts[k].length), true);
    }
    return files;
}

// Per file: how many records the sequence names, and how many of them were damaged.
struct SequenceTally {
    std::array<int, kLayouts.size()> named{}, damaged{};
    bool ended = false;  // the end mark was found
};

// Adds the lenses the sequence names, in its order, counting what cannot be taken.
SequenceTally TakeSequence(Bytes seq, const LensFiles& files, LensCatalogue& catalogue) {
    SequenceTally tally;
    for (std::size_t at = 0; at + kSequenceLength <= seq.size(); at += kSequenceLength) {
        const Bytes entry = seq.subspan(at, kSequenceLength);
        const std::int16_t code = I16(entry, 0);
        if (code == kEndCode) {
            tally.ended = true;
            break;
        }
        if (code < 1 || code > static_cast<std::int16_t>(kLayouts.size())) continue;
        const auto k = static_cast<std::size_t>(code - 1);
        const RecordLayout& layout = kLayouts[k];
        const auto length = static_cast<std::size_t>(layout.length);
        const std::int64_t number = I32(entry, 2);
        const Bytes file = AsBytes(files[k].bytes);
        ++tally.named[k];
        if (number < 1 || static_cast<std::uint64_t>(number) > file.size() / length) {
            ++tally.damaged[k];
            catalogue.CountSkipped();
            continue;
        }
        const Bytes record = file.subspan((static_cast<std::size_t>(number) - 1) * length, length);
        std::optional<CatalogueLens> lens = Decode(layout, record);
        if (!lens) ++tally.damaged[k];
        if (!lens || !catalogue.Add(std::move(*lens))) catalogue.CountSkipped();
    }
    return tally;
}

// A file that gave nothing of what the sequence asks of it is named, with the reason.
void NoteUnreadFiles(const fs::path& dir, const LensFiles& files, const SequenceTally& tally,
                     LensCatalogue& catalogue) {
    bool anyNamed = false;
    for (std::size_t k = 0; k < kLayouts.size(); ++k) {
        if (tally.named[k] == 0) continue;
        anyNamed = true;
        if (tally.damaged[k] < tally.named[k]) continue;
        const fs::path file = dir / kLayouts[k].file;
        if (files[k].failure != text::ReadFailure::kNone) {
            catalogue.NoteNotRead({file, text::ReadFailureText(files[k].failure, 0)});
        } else {
            catalogue.NoteNotRead({file, TrFormat("beschädigt (keiner der %1 Einträge ist lesbar)",
                                                  {std::to_string(tally.named[k])})});
        }
    }
    if (!anyNamed && !tally.ended) {  // neither a lens nor the end mark: not a sequence
        catalogue.NoteNotRead({dir / kSequenceFile, Tr("beschädigt (kein gültiger Eintrag)")});
    }
}

}  // namespace

LensCatalogue ReadCatalogueLenses(const fs::path& dir) {
    LensCatalogue catalogue;
    constexpr std::size_t kMaxSequenceBytes = kMaxSequenceRecords * kSequenceLength;
    const text::FileRead sequence =
        text::ReadFileBounded(dir / kSequenceFile, kMaxSequenceBytes, true);
    if (sequence.failure == text::ReadFailure::kMissing) return catalogue;  // no catalogue here
    if (sequence.failure != text::ReadFailure::kNone) {
        catalogue.NoteNotRead(
            {dir / kSequenceFile, text::ReadFailureText(sequence.failure, kMaxSequenceBytes)});
        return catalogue;
    }
    const LensFiles files = ReadLensFiles(dir);
    const SequenceTally tally = TakeSequence(AsBytes(sequence.bytes), files, catalogue);
    NoteUnreadFiles(dir, files, tally, catalogue);
    return catalogue;
}

std::string WriteCatalogueLenses(const fs::path& dir, std::span<const CatalogueLens> lenses) {
    std::array<std::vector<unsigned char>, kLayouts.size()> files;
    std::vector<unsigned char> sequence;
    auto sequenceRecord = [&](std::int16_t code, std::int32_t number) {
        RecordWriter w(kSequenceLength);
        w.I16At(0, code);
        w.U32At(2, static_cast<std::uint32_t>(number));
        sequence.insert(sequence.end(), w.Bytes().begin(), w.Bytes().end());
    };
    for (const CatalogueLens& lens : lenses) {
        const RecordLayout& layout = LayoutOf(lens.kind);
        RecordWriter w(static_cast<std::size_t>(layout.length));
        if (std::string error = Encode(layout, lens, w); !error.empty()) return error;
        auto& file = files[static_cast<std::size_t>(layout.typeCode - 1)];
        file.insert(file.end(), w.Bytes().begin(), w.Bytes().end());
        sequenceRecord(layout.typeCode, static_cast<std::int32_t>(
                                            file.size() / static_cast<std::size_t>(layout.length)));
    }
    sequenceRecord(kEndCode, 0);

    std::error_code ec;
    fs::create_directories(dir, ec);
    for (std::size_t k = 0; k < kLayouts.size(); ++k) {
        if (!WriteFile(dir / kLayouts[k].file, files[k])) {
            return "cannot write " + (dir / kLayouts[k].file).string();
        }
    }
    if (!WriteFile(dir / kSequenceFile, sequence)) {
        return "cannot write " + (dir / kSequenceFile).string();
    }
    return {};
}

fs::path BuildTreeCatalogueDir() {
#ifdef RAYSKETCHER_CATALOGUE_BUILD_DIR
    return fs::path(RAYSKETCHER_CATALOGUE_BUILD_DIR);
#else
    return {};
#endif
}

bool RunsFromBuildTree(const fs::path& programDir, const fs::path& buildRoot) {
    if (buildRoot.empty()) return false;
    fs::path root = buildRoot.lexically_normal();
    if (root.filename().empty()) root = root.parent_path();  // "a/b/" is "a/b"
    const fs::path program = programDir.lexically_normal();
    return std::ranges::mismatch(root, program).in1 == root.end();
}

std::vector<fs::path> CatalogueDirCandidates(const fs::path& programDir,
                                             const fs::path& buildTreeDir) {
    std::vector<fs::path> dirs = {programDir,
                                  (programDir / ".." / "share" / "raysketcher").lexically_normal()};
    // The build's own copy (<build>/share/raysketcher) only serves a program run from that build.
    if (!buildTreeDir.empty() &&
        RunsFromBuildTree(programDir, buildTreeDir.parent_path().parent_path()) &&
        std::ranges::find(dirs, buildTreeDir) == dirs.end()) {
        dirs.push_back(buildTreeDir);
    }
    return dirs;
}

CatalogueLocation FindCatalogueDir(const std::optional<fs::path>& explicitDir,
                                   const fs::path& programDir, const fs::path& buildTreeDir) {
    CatalogueLocation location;
    location.searched = explicitDir ? std::vector<fs::path>{*explicitDir}
                                    : CatalogueDirCandidates(programDir, buildTreeDir);
    const auto found = std::ranges::find_if(location.searched, HasCatalogue);
    if (found != location.searched.end()) location.dir = *found;
    return location;
}

std::string CatalogueNotFoundMessage(const CatalogueLocation& location) {
    std::string message = Tr("keine Katalogdateien gefunden in ");
    for (std::size_t i = 0; i < location.searched.size(); ++i) {
        if (i > 0) message += ", ";
        message += location.searched[i].string();
    }
    return message;
}

}  // namespace rs::analysis
