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

// 32 ASCII code units at `units` as bytes, in the order AVX2's pack gives them: each 128-bit half
// holds eight units of the first sixteen, then eight of the second.
KORVANE_AVX2 inline __m256i packAsciiUnits(const char16_t* units) {
    const __m256i first = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(units));
    const __m256i second = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(units + 16));
    return _mm256_packus_epi16(first, second);
}

// The alphabet positions of ASCII bytes: (byte | 32) - 'a', which is 0…25 for a letter of either
// case and outside 0…25 for any other byte. The transform maps a letter by it and the letter
// counts count it, so both read the same letters.
KORVANE_AVX2 inline __m256i alphabetPositions(__m256i bytes) {
    return _mm256_sub_epi8(_mm256_or_si256(bytes, _mm256_set1_epi8(32)), _mm256_set1_epi8('a'));
}

}  // namespace korvane::cipher
#endif
