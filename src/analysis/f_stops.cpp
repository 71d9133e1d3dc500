#include "analysis/f_stops.h"

#include <array>
#include <cmath>

#include "text/tr.h"
#include "text/vb_format.h"

namespace rs::analysis {
using text::Tr;
using text::TrFormat;
namespace {

constexpr std::array<std::string_view, kStandardFNumberCount> kEngraved = {
    "1", "1.2", "1.4", "1.6", "1.8", "2",  "2.5", "2.8", "3.5", "4",  "4.5", "5.6", "6.3", "6.8",
    "8", "9.5", "11",  "13",  "16",  "19", "22",  "27",  "32",  "38", "45",  "54",  "64"};

constexpr std::array<double, kStandardFNumberCount> kEngravedValues = {
    1, 1.2, 1.4, 1.6, 1.8, 2,  2.5, 2.8, 3.5, 4,  4.5, 5.6, 6.3, 6.8,
    8, 9.5, 11,  13,  16,  19, 22,  27,  32,  38, 45,  54,  64};

bool InList(int entry) {
    return entry >= 0 && entry < kStandardFNumberCount;
}

}  // namespace

std::string_view StandardFNumberText(int entry) {
    return InList(entry) ? kEngraved[static_cast<std::size_t>(entry)] : std::string_view{};
}

double ExactFNumber(int entry) {
    if (!InList(entry)) return 0.0;
    const double steps =
        std::round(12.0 * std::log2(kEngravedValues[static_cast<std::size_t>(entry)]));
    return std::pow(2.0, steps / 12.0);
}

std::string StandardFNumberRow(int entry) {
    if (!InList(entry)) return {};
    std::string row = "F/" + std::string(StandardFNumberText(entry));
    const std::string exact = text::Format(ExactFNumber(entry), "0.0###");
    if (std::fabs(ExactFNumber(entry) - kEngravedValues[static_cast<std::size_t>(entry)]) >= 5e-5) {
        row.resize(std::max<std::size_t>(row.size(), 7), ' ');
        row += TrFormat("   (exakt %1)", {exact});
    }
    return row;
}

std::string FStopMessage() {
    return Tr(
        "Blendenzahlen sind auf dem Blendenring eines Kameraobjektives aufgraviert.\n"
        "Aus historischen bzw. Platzgründen weicht der exakte Wert u.U. ab.\n"
        "Z.B. der Blendenwert k=1.2 ist exakt 1.1892.\n"
        "Dieses Pop-up-Fenster konvertiert die Standardblendenzahl in di exakte Blendenzahl.\n"
        "\n"
        "Soll dieser Hinweis weiterhin angezeigt werden?");
}

}  // namespace rs::analysis
