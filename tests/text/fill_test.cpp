#include <gtest/gtest.h>

#include <string>

#include "text/fill.h"

namespace rs::text {

// The pieces go where the text puts them, in any order; what is not a numbered place with a
// piece stays as written.
TEST(Fill, PlacesTakeTheirPieces) {
    struct Case {
        const char* pattern;
        const char* expected;
    };
    for (const Case& c : {
             Case{"Zurück zu: {0}", "Zurück zu: a"},
             Case{"{1} before {0}", "b before a"},
             Case{"{0}{0}", "aa"},
             Case{"{2} and {9}", "{2} and {9}"},
             Case{"{x} {} {0", "{x} {} {0"},
             Case{"ends with {", "ends with {"},
             Case{"", ""},
         }) {
        EXPECT_EQ(Fill(c.pattern, {"a", "b"}), c.expected) << c.pattern;
    }
}

}  // namespace rs::text
