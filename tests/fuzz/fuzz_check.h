#pragma once

#include <cstdio>
#include <cstdlib>

// A broken property ends the run like a crash, so libFuzzer keeps the input.
#define FUZZ_CHECK(condition, what)                                  \
    do {                                                             \
        if (!(condition)) {                                          \
            std::fprintf(stderr, "property broken: %s\n", what);     \
            std::abort();                                            \
        }                                                            \
    } while (0)
