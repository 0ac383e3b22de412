#pragma once

// What the fuzz targets share: the check that ends a run, and the bound on one input's work.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// libFuzzer calls this for every input; the regression runner for every corpus file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size);

namespace tarvel::fuzz {

// The reference loops of a whole calculation may take this many strip and bolt-force
// evaluations (sweepWork); an input beyond it is rejected before either search runs, so
// that every execution stays within a few milliseconds. Sweeps of this size cover every
// branch of both searches; longer ones are the equivalence tests' business.
constexpr double workBudget = 3e5;

[[noreturn]] inline void fail(const char* file, int line, const char* condition,
                              const std::string& detail) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    if (!detail.empty()) std::fprintf(stderr, "  %s\n", detail.c_str());
    std::abort(); // libFuzzer saves the input as a crash; the regression test fails
}

} // namespace tarvel::fuzz

// Ends the run unless `condition` holds; the optional second argument says more.
#define FUZZ_CHECK(condition, ...)                                                                 \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::tarvel::fuzz::fail(__FILE__, __LINE__, #condition, std::string(__VA_ARGS__));        \
    } while (0)
