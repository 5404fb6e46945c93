#pragma once
// Marks a function whose loops vectorise: it is also built for AVX2 and the wider version
// runs where the processor has it. AVX2 alone brings no fused multiply-add, so both versions
// do the same operations in the same order and every result is the same bit for bit.

#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
#define VANTREL_WIDE_LOOPS __attribute__((target_clones("avx2", "default")))
#else
#define VANTREL_WIDE_LOOPS
#endif
