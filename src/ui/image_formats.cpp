#include "ui/image_formats.h"

#include <array>
#include <vector>

#include "text/number_text.h"
#include "text/strings.h"
#include "text/tr.h"

namespace rs::ui {
namespace {

constexpr std::array<std::string_view, 52> kEntries = {
    text::TrNoop("Benutzerdefinierte Bildhöhe"),
    "CCD 1/10inch [1.28 x 0.96]  0.8mm",
    "CCD 1/8inch [1.6 x 1.2]  1mm",
    "CCD 1/6inch [2.4 x 1.8]  1.5mm",
    "CCD 1/4inch [3.2 x 2.4]  2mm",
    "CCD 1/3.6inch [4 x 3]  2.5mm",
    "CCD 1/3.2inch [4.54 x 3.42]  2.8mm",
    "CCD 1/3inch [4.8 x 3.6]  3mm",
    "CCD 1/2.7inch [5.37 x 4.04]  3.4mm",
    "CCD 1/2.5inch [5.76 x 4.29]  3.6mm",
    "CCD 1/2.3inch [6.17 x 4.55]  3.8mm",
    "CCD 1/2inch [6.4 x 4.8]  4mm",
    "CCD 1/1.8inch [7.18 x 5.32]  4.5mm",
    "CCD 1/1.7inch [7.6 x 5.7]  4.8mm",
    "CCD 1/1.6inch [8.08 x 6.01]  5mm",
    "CCD 2/3inch [8.8 x 6.6]  5.5mm",
    "CCD 1/1.2inch [10.67 x 8]  6.7mm",
    "CCD Nikon 1/CX [13.2 x 8.8]  7.9mm",
    "CCD 1inch [12.8 x 9.6]  8mm",
    "CCD Four Thirds [17.3 x 13]  10.8mm",
    "CCD 1.5inch [18.7 x 14]  11.7mm",
    "CCD Foveon [20.7 x 13.8]  12.4mm",
    "CCD APS-C [Canon] [22.2 x 14.8]  13.3mm",
    "CCD APS-C [23.6 x 15.7]  14.2mm",
    "CCD APS-H [27.9 x 18.6]  16.8mm",
    "CCD 35mm [24 x 36]  21.6mm",
    "CCD Leica S [45 x 30]  27mm",
    "CCD Pentax 645D [44 x 33]  27.5mm",
    "CCD Kodak KAF [49 x 36.8]  30.6mm",
    text::TrNoop("Mikrofilm [1.0 x 1.0] 0.7mm"),
    text::TrNoop("Super-8-Film [4.2 x 5.7] 3.55mm"),
    text::TrNoop("16 mm-Kinofilm [7.5 x 10.3] 6.35mm"),
    text::TrNoop("35 mm-Kinofilm [16 x 22]  13.6mm"),
    text::TrNoop("70 mm-Kinofilm [23 x 53] 28.85mm"),
    text::TrNoop("Minox-Film [8 x 11] 6.8mm"),
    text::TrNoop("Pocket-Film [13 x 17] 10.7mm"),
    text::TrNoop("Kleinbildfilm [18 x 24]  15.0mm"),
    text::TrNoop("Kleinbildfilm [24 x 36]  21.65mm"),
    text::TrNoop("Foto-Mittelformat [45 x 60]  37.5mm"),
    text::TrNoop("Foto-Mittelformat [60 x 60]  42.45mm"),
    text::TrNoop("Foto-Mittelformat [60 x 70]  46.1mm"),
    text::TrNoop("Foto-Mittelformat [60 x 80]  50.0mm"),
    text::TrNoop("Foto-Großformat [90 x 120]  75.0mm"),
    text::TrNoop("Foto-Großformat [180 x 240]  150mm"),
    text::TrNoop("Fernsehformat 1/6inch [1.6 x 2.1]  1.35mm"),
    text::TrNoop("Fernsehformat 1/5inch [1.9 x 2.6]  1.6mm"),
    text::TrNoop("Fernsehformat 1/4inch [2.4 x 3.2]  2.0mm"),
    text::TrNoop("Fernsehformat 1/3inch [3.6 x 4.8]  3.0mm"),
    text::TrNoop("Fernsehformat 1/2inch [4.8 x 6.4]  4.0mm"),
    text::TrNoop("Fernsehformat 2/3inch [6.6 x 8.8]  5.5mm"),
    text::TrNoop("Fernsehformat 1inch [9.6 x 12.8]  8.0mm"),
    text::TrNoop("Fernsehformat 1-1/4inch [12.9 x 17.1]  10.7mm"),
};

// The heights are read from the texts once, so the list text is the only place they are kept.
const std::array<float, kEntries.size()>& Heights() {
    static const auto heights = [] {
        std::array<float, kEntries.size()> h{};
        for (std::size_t i = 1; i < kEntries.size(); ++i) h[i] = HeightFromEntryText(kEntries[i]);
        return h;
    }();
    return heights;
}

}  // namespace

std::span<const std::string_view> ImageFormatEntries() {
    return kEntries;
}
int ImageFormatCount() {
    return static_cast<int>(kEntries.size());
}

float ImageFormatHeight(int entry) {
    if (entry <= 0 || entry >= ImageFormatCount()) return 0.0f;
    return Heights()[static_cast<std::size_t>(entry)];
}

float HeightFromEntryText(std::string_view textIn) {
    std::string_view last;
    for (const std::string_view piece : text::SplitFields(textIn, ' ')) {
        if (!piece.empty()) last = piece;
    }
    return static_cast<float>(text::ReadNumberTolerant(last));
}

}  // namespace rs::ui

namespace rs::ui {

void SetGeneralValue(app::DesignState& design, engine::CVarType& entry, float value) {
    entry.sVarValue = value;
    entry.bVarValDef = true;
    if (entry.nVarType == engine::kImgHeight) {
        design.window.imgHgtFixed = false;
        design.window.imgHgtOption = 0;
    }
}

}  // namespace rs::ui
