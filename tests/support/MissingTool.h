#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace tavlo::test {

// The README's test command installs every tool the tests use and sets
// TAVLO_REQUIRE_ALL_TOOLS=1: there a missing tool is a broken set-up, not a
// reason to pass quietly. A developer's partial machine skips, saying why.
inline bool allToolsRequired() {
    const char* value = std::getenv("TAVLO_REQUIRE_ALL_TOOLS");
    return value && std::strcmp(value, "1") == 0;
}

}  // namespace tavlo::test

// Use in a test body or SetUp: ends the test when `present` is false, as a
// failure where every tool is required and as a skip elsewhere.
#define TAVLO_REQUIRE_TOOL(present, what)                                             \
    do {                                                                              \
        if (!(present)) {                                                             \
            if (::tavlo::test::allToolsRequired()) FAIL() << (what) << " is missing"; \
            GTEST_SKIP() << (what) << " is missing";                                  \
        }                                                                             \
    } while (false)
