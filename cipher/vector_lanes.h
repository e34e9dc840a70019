// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

// The vector lanes the engine reads a text in on x86-64: SSE2's, which every such processor has,
// and AVX2's, twice as wide, in functions compiled for them alone and called only where the
// processor has them.
#if defined(__SSE2__)
#include <immintrin.h>

#define KORVANE_AVX2 __attribute__((target("avx2")))

namespace korvane::cipher {

// Whether the processor has AVX2.
bool hasAvx2();

}  // namespace korvane::cipher
#endif
