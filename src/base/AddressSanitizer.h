#pragma once
// VX_ADDRESS_SANITIZER is 1 in a build that runs under AddressSanitizer (GCC and Clang each say so
// their own way). Such a process reserves terabytes of address space for its shadow memory and
// cannot start under an address-space limit (RLIMIT_AS, ulimit -v).

#if defined(__SANITIZE_ADDRESS__)
#define VX_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VX_ADDRESS_SANITIZER 1
#endif
#endif

#ifndef VX_ADDRESS_SANITIZER
#define VX_ADDRESS_SANITIZER 0
#endif
