// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>

// GCC tells of AddressSanitizer by a macro, clang by a feature.
#if defined(__SANITIZE_ADDRESS__)
#define KORVANE_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KORVANE_ADDRESS_SANITIZER 1
#endif
#endif

// While it lives, the process may map only `spare` bytes more than it has mapped now, so that
// an allocation larger than that fails where it is made, as it does on a machine whose memory
// or address space has run out; smaller ones still succeed. AddressSanitizer reserves terabytes
// of address space at start, so under it no limit can be set: available() is false.
class AddressSpaceLimit {
public:
    explicit AddressSpaceLimit(long long spare) {
#ifndef KORVANE_ADDRESS_SANITIZER
        limit(spare);
#else
        (void)spare;
#endif
    }
    ~AddressSpaceLimit() {
        if (set_)
            setrlimit(RLIMIT_AS, &before_);
    }
    AddressSpaceLimit(const AddressSpaceLimit&) = delete;
    AddressSpaceLimit& operator=(const AddressSpaceLimit&) = delete;

    bool available() const {
        return set_;
    }

private:
    void limit(long long spare) {
        long long pages = 0;
        if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(statm, "%lld", &pages) != 1)
                pages = 0;
            std::fclose(statm);
        }
        if (pages <= 0 || getrlimit(RLIMIT_AS, &before_) != 0)
            return;
        rlimit limited = before_;
        limited.rlim_cur = rlim_t(pages * sysconf(_SC_PAGESIZE) + spare);
        set_ = setrlimit(RLIMIT_AS, &limited) == 0;
    }

    rlimit before_{};
    bool set_ = false;
};
