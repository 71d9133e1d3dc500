// The six catalogue lens files of any content. The input is split into the files in their order
// (sequence, single lenses, achromats, air-spaced achromats, triplets, cylinders), each given as
// a two-byte little-endian length and that many bytes (fewer when the input ends); the files are
// written into a folder of this process and read as the program reads them.
#include <unistd.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "analysis/catalogue_lenses.h"

namespace {

namespace fs = std::filesystem;

// A folder of this process, removed again when the fuzzer ends.
class Folder {
public:
    Folder()
        : path_(fs::temp_directory_path() / ("raysketcher-fuzz-" + std::to_string(::getpid()))) {
        fs::create_directories(path_);
    }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    const fs::path& operator()() const { return path_; }

private:
    fs::path path_;
};

const Folder kFolder;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static constexpr std::array<const char*, 6> kFiles = {"SH_SEQ.dat", "SH_L1.dat", "SH_L2.dat",
                                                          "SH_L2a.dat", "SH_L3.dat", "SH_C1.dat"};
    std::size_t pos = 0;
    for (const char* name : kFiles) {
        std::size_t length = 0;
        if (pos + 2 <= size) {
            length = static_cast<std::size_t>(data[pos]) |
                     (static_cast<std::size_t>(data[pos + 1]) << 8);
            pos += 2;
        }
        length = std::min(length, size - std::min(pos, size));
        std::ofstream out(kFolder() / name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data + pos), static_cast<std::streamsize>(length));
        pos += length;
    }
    const rs::analysis::LensCatalogue catalogue = rs::analysis::ReadCatalogueLenses(kFolder());
    for (const rs::analysis::CatalogueLens& lens : catalogue.Lenses()) {
        (void)lens.Code();
        (void)lens.GlassText();
        (void)lens.Diameter();
    }
    return 0;
}
