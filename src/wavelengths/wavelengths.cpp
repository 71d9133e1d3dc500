#include "wavelengths/wavelengths.h"

#include <algorithm>
#include <cmath>
#include <system_error>

#include "text/number_text.h"
#include "text/strings.h"
#include "text/vb_format.h"

namespace rs::wavelengths {
namespace {

constexpr float kMaxUserNm = 1e7f;

// A line with its note after " |" and a tab.
WaveRecord Noted(std::string_view name, std::string_view note, float nm) {
    return {std::string(name) + " |\t" + std::string(note), nm};
}

std::vector<WaveRecord> BuildLaserLines() {
    return {
        {"Er:YAG", 2940},
        {"Ho:YAG", 2127},
        {"Er:YLF", 1730},
        {"Nd:YAG", 1570},
        {"Telecom2", 1550},
        {"Er:glass", 1535},
        {"HeNe", 1523.1f},
        {"Nd:YLF", 1444},
        {"Nd:YVO4", 1342},
        {"Nd:YAG", 1340},
        {"Nd:YLF", 1319},
        {"Telecom1", 1300},
        {"HeNe", 1152.3f},
        {"Nd:YAG, Nd:YVO4", 1064},
        {"Nd:glass", 1060},
        {"Nd:YLF", 1053},
        {"Yb:YAG", 1030},
        {"Diode (InGaAs)", 980},
        {"Xe ion", 871.6f},
        {"Diode (InGaAsP)", 808},
        {"Kr ion", 799.3f},
        {"Xe ion", 798.8f},
        {"Kr ion", 793.1f},
        {"Diode (GaAlAs)", 790},
        {"Xe ion", 782.8f},
        {"Kr Ion", 752.5f},
        {"Xe Ion", 714.9f},
        Noted("Ruby", "main", 694.3f),
        {"Ruby", 692.8f},
        {"Kr Ion", 676.4f},
        {"Diode (GaInP)", 670},
        Noted("Kr Ion", "main", 647.1f),
        {"Diode (InGaAlP)", 635},
        Noted("HeNe", "main", 632.8f),
        {"Au Vapour", 627.8f},
        {"Xe ion", 627.1f},
        {"HeNe", 611.8f},
        {"HeNe", 604.6f},
        {"Xe ion", 597.1f},
        {"HeNe", 594.1f},
        {"Cu Vapor", 578.2f},
        {"Kr Ion", 568.2f},
        {"HeNe", 543.3f},
        {"Xe ion", 541.9f},
        Noted("Nd:YAG", "2nd", 532),
        {"Kr Ion", 530.9f},
        {"Ar Ion", 528.7f},
        {"Kr Ion", 520.8f},
        Noted("Ar Ion", "main2", 514.5f),
        {"Cu Vapor", 510.6f},
        {"Ar Ion", 501.7f},
        {"Ar Ion", 496.5f},
        Noted("Ar Ion", "main1", 488),
        {"Kr Ion", 482.5f},
        {"Ar Ion", 476.5f},
        {"Kr Ion", 476.2f},
        {"Ar Ion", 472.7f},
        {"Kr Ion", 468},
        {"Ar Ion", 465.8f},
        {"Xe Ion", 460.3f},
        {"Ar Ion", 457.9f},
        {"Ar Ion", 454.5f},
        {"HeCd", 441.6f},
        {"N2", 428},
        {"Kr Ion", 416},
        {"Diode (GaN)", 415},
        {"Ne ion", 371.3f},
        {"Ar Ion", 364},
        Noted("Nd:YAG", "3rd", 355),
        {"Excimer (XeF)", 351},
        {"Ne ion", 339.3f},
        {"Ne ion", 337.8f},
        {"N2", 337.1f},
        {"Ne ion", 334.5f},
        {"Ne ion", 332.4f},
        {"HeCd", 325},
        {"Excimer (XeCl)", 308},
        Noted("Nd:YAG", "4th", 266),
        {"Excimer (KrF)", 248},
        {"Excimer (KrCl)", 222},
        Noted("Nd:YAG", "5th", 213),
    };
}

std::vector<WaveRecord> BuildGlassLines() {
    return {
        {"   |Hg", 2325.42f},
        {"   |Hg", 1970.09f},
        {"   |Hg", 1529.582f},
        {" |Nd:glass", 1060},
        {"t  |Hg", 1013.98f},
        {"s  |Cs", 852.11f},
        {"A'  |K: middle of pair", 768.1943f},
        {"r  |He", 706.5188f},
        {"C  |H alpha", 656.2725f},
        {"C'  |Cd", 643.8469f},
        {"  |HeNe laser", 632.8f},
        {"D  |Na: middle of pair", 589.2938f},
        {"d  |He", 587.5618f},
        {"e  |Hg", 546.074f},
        {"F  |H beta", 486.1327f},
        {"F'  |Cd", 479.9914f},
        {"g  |Hg", 435.8343f},
        {"h  |Hg", 404.6561f},
        {"i  |Hg", 365.0146f},
        {"   |Hg", 334.1478f},
        {"", 312.5663f},
        {"   |Hg", 296.7278f},
    };
}

// The spaces before a wavelength, so that the numbers of a grid line up.
std::string Lead(float nm) {
    if (nm > 9999.99f) return " ";
    if (nm > 999.99f) return "  ";
    return "    ";
}

// "0.0###", left-aligned in twelve characters.
std::string Field12(float nm) {
    std::string s = text::FormatSingle(nm, "0.0###");
    if (s.size() < 12) s.resize(12, ' ');
    return s;
}

// The wavelength of a user line: point or comma, blanks around it.
std::optional<float> UserNumber(std::string_view text) {
    std::string t(text::TrimBlanks(text));
    std::replace(t.begin(), t.end(), ',', '.');
    if (t.empty()) return std::nullopt;
    const char* begin = t.c_str();
    char* end = nullptr;
    const double v = std::strtod(begin, &end);
    if (end != begin + t.size()) return std::nullopt;
    // Checked as kept: a tiny positive number would be 0 nm in single precision.
    const auto nm = static_cast<float>(v);
    if (!std::isfinite(v) || !(nm > 0.0f) || !(nm < kMaxUserNm)) return std::nullopt;
    return nm;
}

}  // namespace

const std::vector<WaveRecord>& LaserLines() {
    static const std::vector<WaveRecord> lines = BuildLaserLines();
    return lines;
}

const std::vector<WaveRecord>& GlassCatalogueLines() {
    static const std::vector<WaveRecord> lines = BuildGlassLines();
    return lines;
}

NameParts SplitName(std::string_view name) {
    const std::size_t bar = name.find('|');
    if (bar == std::string_view::npos) return {std::string(name), {}, false};
    return {std::string(name.substr(0, bar)), std::string(name.substr(bar + 1)), true};
}

std::filesystem::path UserWavelengthFile(const std::filesystem::path& settingsFile) {
    if (settingsFile.empty()) return {};  // no place for the user's files at all
    return settingsFile.parent_path() / "UserData" / "WaveLen.lst";
}

std::vector<WaveRecord> ParseUserWavelengths(std::string_view bytes) {
    const std::string text = text::TextFileToUtf8(bytes);
    std::vector<WaveRecord> out;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string_view line(text.data() + start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        start = end + 1;
        const std::size_t bar = line.rfind('|');
        if (bar == std::string_view::npos) continue;
        if (const auto nm = UserNumber(line.substr(bar + 1))) {
            out.push_back({std::string(text::TrimBlanks(line.substr(0, bar))), *nm});
        }
    }
    return out;
}

UserList ReadUserWavelengths(const std::filesystem::path& file, bool createFolder) {
    UserList list;
    if (file.empty()) return list;
    std::error_code ec;
    if (createFolder) std::filesystem::create_directories(file.parent_path(), ec);
    const text::FileRead read = text::ReadFileBounded(file, kMaxUserFileBytes);
    if (read.failure == text::ReadFailure::kMissing) return list;  // no list of one's own yet
    if (read.failure != text::ReadFailure::kNone) {
        list.notRead =
            text::FileNotRead{file, text::ReadFailureText(read.failure, kMaxUserFileBytes)};
        return list;
    }
    list.readable = true;
    list.entries = ParseUserWavelengths(read.bytes);
    return list;
}

std::string LaserRow(const WaveRecord& r) {
    const NameParts parts = SplitName(r.name);
    std::string row = Lead(r.nm) + text::StrSingle(r.nm) + "\t" + parts.first;
    if (parts.bar) row += "\t" + parts.second;
    return row;
}

std::string GlassRow(const WaveRecord& r) {
    const NameParts parts = SplitName(r.name);
    return Lead(r.nm) + Field12(r.nm) + "\t" + parts.first + "\t" + parts.second;
}

std::string UserRow(const WaveRecord& r) {
    return Lead(r.nm) + Field12(r.nm) + "\t" + r.name;
}

std::string_view RememberKey(WaveList list) {
    switch (list) {
        case WaveList::Laser:
            return "Laser";
        case WaveList::GlassCat:
            return "GlassCat";
        case WaveList::User:
            return "User";
    }
    return "Laser";
}

std::optional<int> PreselectedRow(std::string_view remembered, int rowCount) {
    const std::string_view t = text::TrimBlanks(remembered);
    if (t.empty() || t.size() > 9 ||
        !std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    const int row = text::ReadIntTolerant(t);
    if (row < 1 || row > rowCount) return std::nullopt;
    return row;
}

RowChoice ChooseRow(std::span<const WaveRecord> rows, int row, bool userListUnreadable) {
    if (userListUnreadable) return {std::nullopt, std::string(kNoUserWavelengths)};
    if (row < 1 || row > static_cast<int>(rows.size())) return {};
    const float nm = rows[static_cast<std::size_t>(row - 1)].nm;
    if (!(nm > 0.0f) || !std::isfinite(nm)) return {};
    return {nm, std::nullopt};
}

std::string BoxText(float nm) {
    return text::FormatSingle(nm, "0.0000");
}

WindowPoint AtMouse(int x, int y, int width, int height, const ScreenRect& screen) {
    WindowPoint p{x, y};
    if (x + width > screen.left + screen.width) p.x = x - width;
    if (y + height > screen.top + screen.height) p.y = y - height;
    return p;
}

}  // namespace rs::wavelengths
