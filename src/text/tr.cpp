#include "text/tr.h"

#include <libintl.h>

namespace rs::text {
namespace {
constexpr const char* kDomain = "raysketcher";
}

std::string Tr(const char* german) {
    if (german == nullptr || *german == '\0') return {};
    return dgettext(kDomain, german);
}

std::string Tr(std::string_view german) {
    const std::string key(german);
    return Tr(key.c_str());
}

std::string TrN(const char* singular, const char* plural, unsigned long n) {
    return dngettext(kDomain, singular, plural, n);
}

}  // namespace rs::text
