#pragma once
// The key kinds of HashMap: for each, the 32-bit key hash and the key order (<0, 0, >0) that the
// bucket trees are sorted by. A new key kind specialises HashKeyTraits.

#include "base/FixedString.h"
#include "base/UniqueId.h"

#include <cstdint>
#include <string>

namespace vx {

// Text hash of the maps keyed by texts: start with 7; for each byte, taken as a signed 8-bit
// value, hash = hash x 31 + byte (modulo 2^32). A null text hashes to 7.
uint32_t TextHash(const char* text);

// A text plus a 32-bit integer, such as a property key (name, type code). The text is not cut.
struct TextIntKey {
    std::string text;
    int32_t number = 0;
};

template <class K> struct HashKeyTraits;

// Identifiers: DUniqueID::Hash, ordered by DUniqueID::Compare.
template <> struct HashKeyTraits<DUniqueID> {
    static uint32_t Hash(const DUniqueID& key) { return key.Hash(); }
    static int Compare(const DUniqueID& a, const DUniqueID& b) { return a.Compare(b); }
};

// Fixed texts: TextHash, ordered byte-wise.
template <> struct HashKeyTraits<FixedString> {
    static uint32_t Hash(const FixedString& key) { return TextHash(key.c_str()); }
    static int Compare(const FixedString& a, const FixedString& b) { return a.Compare(b.c_str()); }
};

// Texts of any length: as fixed texts, without the cut at 255 bytes.
template <> struct HashKeyTraits<std::string> {
    static uint32_t Hash(const std::string& key) { return TextHash(key.c_str()); }
    static int Compare(const std::string& a, const std::string& b);
};

// Text plus integer: Crc32OfText(text) + number (modulo 2^32); ordered by text, then by number.
template <> struct HashKeyTraits<TextIntKey> {
    static uint32_t Hash(const TextIntKey& key);
    static int Compare(const TextIntKey& a, const TextIntKey& b);
};

// 32-bit integers: the value itself, in integer order.
template <> struct HashKeyTraits<int32_t> {
    static uint32_t Hash(int32_t key) { return static_cast<uint32_t>(key); }
    static int Compare(int32_t a, int32_t b) { return a < b ? -1 : a > b ? 1 : 0; }
};

template <> struct HashKeyTraits<uint32_t> {
    static uint32_t Hash(uint32_t key) { return key; }
    static int Compare(uint32_t a, uint32_t b) { return a < b ? -1 : a > b ? 1 : 0; }
};

} // namespace vx
