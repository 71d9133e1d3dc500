#pragma once
// Texts cross between the core (UTF-8 std::string) and Qt (QString) only through these two.
#include <QString>
#include <string>
#include <string_view>

#include "text/tr.h"

namespace rs::gui {

inline QString ToQ(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToStd(const QString& text) {
    return text.toStdString();
}

// A German text of the window, translated to the language in use (see text/tr.h).
inline QString QTr(const char* german) {
    return ToQ(text::Tr(german));
}

}  // namespace rs::gui
