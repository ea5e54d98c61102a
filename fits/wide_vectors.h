// Loops over every pixel of a spectrum are compiled twice on x86-64: for the
// plain instruction set every such processor has, and for processors with
// AVX2 (most made since 2013), whose 256-bit registers take four doubles at a
// time and which can reverse the byte order of several pixels in one step.
// The program picks the version when it starts. Both give the same values:
// the arithmetic and its rounding are the same, only done on more at once.
#pragma once

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define WENDREL_WIDE_VECTORS_IF_PRESENT __attribute__((target_clones("avx2", "default")))
#else
#define WENDREL_WIDE_VECTORS_IF_PRESENT
#endif
