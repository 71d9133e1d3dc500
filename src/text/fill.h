#pragma once
// A text with numbered places "{0}", "{1}", … filled in. A translated text built from pieces is
// one message with places, so that a language can put the pieces in its own order.
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace rs::text {

// `pattern` with every "{k}" replaced by the k-th of `pieces`; a place without a piece, and any
// other brace, stays as written.
inline std::string Fill(std::string_view pattern, std::initializer_list<std::string_view> pieces) {
    std::string out;
    out.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '{' && i + 2 < pattern.size() && pattern[i + 2] == '}' &&
            pattern[i + 1] >= '0' && pattern[i + 1] <= '9') {
            const auto k = static_cast<std::size_t>(pattern[i + 1] - '0');
            if (k < pieces.size()) {
                out += *(pieces.begin() + k);
                i += 2;
                continue;
            }
        }
        out += pattern[i];
    }
    return out;
}

}  // namespace rs::text
