#include "text/tr.h"

#include <libintl.h>

namespace rs::text {
namespace {
constexpr const char* kDomain = "raysketcher";
bool translating = false;
}  // namespace

void SetTranslating(bool on) {
    translating = on;
}

bool Translating() {
    return translating;
}

std::string Tr(const char* german) {
    if (german == nullptr || *german == '\0') return {};
    if (!translating) return german;
    return dgettext(kDomain, german);
}

std::string Tr(std::string_view german) {
    const std::string key(german);
    return Tr(key.c_str());
}

namespace {

std::string Substitute(const std::string& text, std::initializer_list<std::string_view> values) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        const auto k = static_cast<std::size_t>(next - '1');
        if (text[i] == '%' && next >= '1' && next <= '9' && k < values.size()) {
            out += *(values.begin() + k);
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

std::string TrFormat(const char* german, std::initializer_list<std::string_view> values) {
    return Substitute(Tr(german), values);
}

std::string TrNFormat(const char* singular, const char* plural, unsigned long n,
                      std::initializer_list<std::string_view> values) {
    return Substitute(TrN(singular, plural, n), values);
}

std::string TrN(const char* singular, const char* plural, unsigned long n) {
    if (!translating) return n == 1 ? singular : plural;
    return dngettext(kDomain, singular, plural, n);
}

}  // namespace rs::text
