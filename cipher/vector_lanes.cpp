// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "cipher/vector_lanes.h"

#if defined(__SSE2__)
namespace korvane::cipher {

bool hasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

}  // namespace korvane::cipher
#endif
