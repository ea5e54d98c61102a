// A property every input must keep; a broken one stops the run like a crash, so the fuzzer keeps the input.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#define WENDREL_FUZZ_CHECK(condition, detail) \
    ((condition) ? void() : (std::fprintf(stderr, "property broken: %s (%s)\n", #condition, std::string(detail).c_str()), std::abort()))
