// The user's wavelength list of any bytes: every entry taken must be a finite wavelength in the
// documented range.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "wavelengths/wavelengths.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const rs::wavelengths::WaveRecord& r : rs::wavelengths::ParseUserWavelengths(text)) {
        if (!(r.nm > 0 && r.nm < 1e7)) __builtin_trap();
        (void)rs::wavelengths::SplitName(r.name);
    }
    return 0;
}
