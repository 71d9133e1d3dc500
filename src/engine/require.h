#pragma once
// Programming-error checks that stay active in release builds: an index outside a catalogue is
// a fault in the calling code, and stopping loudly is better than reading past a table.
#include <cstdio>
#include <cstdlib>

namespace rs {

[[noreturn]] inline void RequireFailed(const char* what, const char* file, int line) {
    std::fprintf(stderr, "raysketcher: internal error: %s (%s:%d)\n", what, file, line);
    std::abort();
}

}  // namespace rs

#define RS_REQUIRE(cond, what) \
    ((cond) ? static_cast<void>(0) : ::rs::RequireFailed(what, __FILE__, __LINE__))
