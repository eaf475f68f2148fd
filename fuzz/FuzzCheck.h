// What the fuzz targets share: a failed property ends the run the way libFuzzer reports a crash,
// with the input saved and the reason printed.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_REQUIRE(condition, ...)                                                                         \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "property failed: %s\n  ", #condition);                                     \
            std::fprintf(stderr, __VA_ARGS__);                                                               \
            std::fputc('\n', stderr);                                                                        \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)
