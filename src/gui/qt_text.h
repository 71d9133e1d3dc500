#pragma once
// Texts cross between the core (UTF-8 std::string) and Qt (QString) only through these two.
#include <QString>
#include <string>
#include <string_view>

namespace rs::gui {

inline QString ToQ(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToStd(const QString& text) {
    return text.toStdString();
}

}  // namespace rs::gui
