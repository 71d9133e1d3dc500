// make_catalogue SOURCE DIR: turns the readable stock-lens catalogue (catalogue-lenses.txt) into
// the six binary catalogue files in DIR. Fails, and so fails the build, on a line it cannot read,
// on a lens whose traced focal length misses its nominal one by more than 1 %, and when reading
// the written files back does not give every lens again.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/catalogue_lenses.h"
#include "text/strings.h"

namespace {

using rs::analysis::CatalogueKind;
using rs::analysis::CatalogueLens;
using rs::analysis::CatalogueSurface;

constexpr double kFocalTolerance = 0.01;
constexpr float kDesignWavelength = 587.6f;  // nm, where the indices hold

struct KindName {
    std::string_view name;
    CatalogueKind kind;
    std::size_t surfaces;
};
constexpr KindName kKinds[] = {
    {"single", CatalogueKind::kSingle, 2},     {"bestform", CatalogueKind::kBestForm, 2},
    {"achromat", CatalogueKind::kAchromat, 3}, {"airspaced", CatalogueKind::kAirSpacedAchromat, 4},
    {"triplet", CatalogueKind::kTriplet, 4},   {"cylinder", CatalogueKind::kCylinder, 2},
};

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    for (std::string_view w : rs::text::SplitFields(rs::text::TrimBlanks(text), ' ')) {
        if (!w.empty()) words.push_back(w);
    }
    return words;
}

std::optional<double> Number(std::string_view word) {
    double v = 0.0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), v);
    if (ec != std::errc() || end != word.data() + word.size() || !std::isfinite(v)) return {};
    return v;
}

std::optional<std::vector<double>> Numbers(std::string_view text) {
    std::vector<double> out;
    for (std::string_view w : Words(text)) {
        const auto v = Number(w);
        if (!v) return {};
        out.push_back(*v);
    }
    return out;
}

// The nominal focal length: the number after "F =" in the description.
std::optional<double> NominalFocalLength(std::string_view description) {
    const auto at = description.find("F =");
    if (at == std::string_view::npos) return {};
    const auto words = Words(description.substr(at + 3));
    return words.empty() ? std::nullopt : Number(words.front());
}

// 1 plano-convex, 2 bi-convex, 3 plano-concave, 4 bi-concave, 5 meniscus, 0 plane.
std::int16_t ShapeCode(double r1, double r2) {
    if (r1 > 0 && r2 == 0) return 1;
    if (r1 > 0 && r2 < 0) return 2;
    if (r1 < 0 && r2 == 0) return 3;
    if (r1 < 0 && r2 > 0) return 4;
    return r1 == 0 && r2 == 0 ? 0 : 5;
}

// One line of the source, or the reason it cannot be read.
std::string ParseLine(std::string_view line, CatalogueLens& lens) {
    const auto fields = rs::text::SplitFields(line, '|');
    if (fields.size() < 8 || fields.size() > 9) return "expected 8 or 9 fields";
    auto field = [&](std::size_t i) { return rs::text::TrimBlanks(fields[i]); };

    const auto codes = Words(field(0));
    if (codes.empty() || codes.size() > lens.codes.size()) return "one to four codes expected";
    for (std::size_t i = 0; i < codes.size(); ++i) lens.codes[i] = std::string(codes[i]);

    const KindName* kind = nullptr;
    for (const KindName& k : kKinds) {
        if (k.name == field(1)) kind = &k;
    }
    if (kind == nullptr) return "unknown kind '" + std::string(field(1)) + "'";
    lens.kind = kind->kind;
    const std::size_t n = kind->surfaces;

    const auto radii = Numbers(field(2));
    const auto thicknesses = Numbers(field(3));
    const auto semis = Numbers(field(4));
    const auto media = Words(field(5));
    if (!radii || radii->size() != n || !thicknesses || thicknesses->size() != n - 1 || !semis ||
        semis->size() != n || media.size() != 3 * (n - 1)) {
        return "a " + std::string(kind->name) + " needs " + std::to_string(n) + " radii, " +
               std::to_string(n - 1) + " thicknesses, " + std::to_string(n) +
               " semi-diameters and " + std::to_string(n - 1) + " media";
    }
    lens.surfaces.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        CatalogueSurface& s = lens.surfaces[i];
        s.radius = (*radii)[i];
        s.semiDiameter = (*semis)[i];
        if (s.radius != 0.0 && std::fabs(s.radius) < s.semiDiameter) {
            return "surface " + std::to_string(i + 1) + " is steeper than a hemisphere";
        }
        if (i + 1 == n) break;
        s.thickness = (*thicknesses)[i];
        const auto index = Number(media[3 * i + 1]);
        const auto abbe = Number(media[3 * i + 2]);
        if (!index || !abbe || *index < 1.0 || s.thickness < 0.0) return "bad medium or thickness";
        s.glass = media[3 * i] == "AIR" ? std::string() : std::string(media[3 * i]);
        s.index = *index;
        s.abbe = *abbe;
    }

    lens.series = std::string(field(6));
    lens.description = std::string(field(7));
    for (std::string_view flag : fields.size() > 8 ? Words(field(8)) : Words({})) {
        if (flag == "obsolete") {
            lens.available = false;
        } else if (flag.starts_with("length=")) {
            const auto length = Number(flag.substr(7));
            if (!length) return "bad length";
            lens.cylinderLength = *length;
        } else if (flag.starts_with("coating=")) {
            lens.coating = std::string(flag.substr(8));
        } else {
            return "unknown flag '" + std::string(flag) + "'";
        }
    }

    const auto nominal = NominalFocalLength(lens.description);
    if (!nominal) return "the description lacks \"F = ... mm\"";
    const auto traced = rs::analysis::TraceFocalLength(lens.surfaces);
    if (!traced || std::fabs(*traced - *nominal) > kFocalTolerance * std::fabs(*nominal)) {
        return "traced focal length " + (traced ? std::to_string(*traced) : "none") +
               " mm misses the nominal " + std::to_string(*nominal) + " mm";
    }
    if (lens.kind == CatalogueKind::kSingle || lens.kind == CatalogueKind::kBestForm) {
        lens.shape = ShapeCode(lens.surfaces[0].radius, lens.surfaces[1].radius);
        lens.revision = 1;
    }
    lens.values = {static_cast<float>(*nominal), kDesignWavelength};
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_catalogue SOURCE DIR\n");
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::fprintf(stderr, "make_catalogue: cannot read %s\n", argv[1]);
        return 1;
    }
    std::vector<CatalogueLens> lenses;
    std::string line;
    int failures = 0;
    for (int number = 1; std::getline(in, line); ++number) {
        const std::string_view text = rs::text::TrimBlanks(line, " \t\r");
        if (text.empty() || text.front() == '#') continue;
        CatalogueLens lens;
        if (const std::string error = ParseLine(text, lens); !error.empty()) {
            std::fprintf(stderr, "%s:%d: %s\n", argv[1], number, error.c_str());
            ++failures;
            continue;
        }
        lenses.push_back(std::move(lens));
    }
    if (failures > 0) return 1;

    const std::filesystem::path dir = argv[2];
    if (const std::string error = rs::analysis::WriteCatalogueLenses(dir, lenses); !error.empty()) {
        std::fprintf(stderr, "make_catalogue: %s\n", error.c_str());
        return 1;
    }

    // What the program will see: every lens again, with its focal length.
    const rs::analysis::LensCatalogue back = rs::analysis::ReadCatalogueLenses(dir);
    for (const CatalogueLens& lens : lenses) {
        const CatalogueLens* read = back.Find(lens.codes[0]);
        if (read == nullptr || std::fabs(read->focalLength - lens.values[0]) >
                                   kFocalTolerance * std::fabs(lens.values[0])) {
            std::fprintf(stderr, "make_catalogue: %s does not read back as written\n",
                         lens.codes[0].c_str());
            ++failures;
        }
    }
    if (failures > 0 || back.Lenses().size() != lenses.size()) {
        std::fprintf(stderr, "make_catalogue: %zu of %zu lenses read back (codes must be unique)\n",
                     back.Lenses().size(), lenses.size());
        return 1;
    }
    std::map<std::string_view, int> perKind;
    for (const CatalogueLens& lens : back.Lenses()) ++perKind[rs::analysis::KindText(lens.kind)];
    std::string summary;
    for (const auto& [kind, count] : perKind) {
        summary += (summary.empty() ? "" : ", ") + std::to_string(count) + " " + std::string(kind);
    }
    std::printf("make_catalogue: %zu lenses (%s) in %s\n", lenses.size(), summary.c_str(),
                dir.string().c_str());
    return 0;
}
