#include "base/Crc32.h"

#include <array>
#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define VX_CRC32_CLMUL 1
#include <immintrin.h>
#endif

namespace vx {

namespace {

// Eight tables for slicing by eight bytes. Table 0, entry i: i shifted right through eight
// rounds, exclusive-or-ing the polynomial whenever the bit shifted out was 1 (the classic
// byte-at-a-time table). Table k, entry i: table k-1's entry advanced by one more zero byte, so
// that eight bytes fold in with eight independent lookups. Built on first use.
using CrcTables = std::array<std::array<uint32_t, 256>, 8>;

const CrcTables& GetCrcTables()
{
    static const CrcTables tables = [] {
        CrcTables built {};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t value = i;
            for (int round = 0; round < 8; ++round)
                value = (value & 1u) ? (value >> 1) ^ 0xEDB88320u : value >> 1;
            built[0][i] = value;
        }
        for (std::size_t k = 1; k < built.size(); ++k)
            for (uint32_t i = 0; i < 256; ++i)
                built[k][i] = (built[k - 1][i] >> 8) ^ built[0][built[k - 1][i] & 0xFFu];
        return built;
    }();
    return tables;
}

uint32_t ReadLe32(const unsigned char* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8
        | static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

#if defined(VX_CRC32_CLMUL)

#define VX_CLMUL_TARGET __attribute__((target("pclmul,sse4.1")))

__m128i LoadBlock(const unsigned char* at)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

// a's low halves times k's, and high halves times k's, plus next.
VX_CLMUL_TARGET __m128i FoldLane(__m128i a, __m128i k, __m128i next)
{
    const __m128i low = _mm_clmulepi64_si128(a, k, 0x00);
    const __m128i high = _mm_clmulepi64_si128(a, k, 0x11);
    return _mm_xor_si128(_mm_xor_si128(high, low), next);
}

// Folds whole 16-byte blocks with carry-less multiplication, four 128-bit lanes at a time, and
// reduces to 32 bits with Barrett's method; the constants are powers of x modulo the reflected
// polynomial. Takes and returns the running value; length is a multiple of 16, at least 64. Several
// times faster than the tables on the buffer files, which are checksummed in full for their names.
VX_CLMUL_TARGET uint32_t FoldBlocks(const unsigned char* bytes, std::size_t length, uint32_t value)
{
    alignas(16) static const uint64_t k1k2[] = {0x0154442bd4, 0x01c6e41596};
    alignas(16) static const uint64_t k3k4[] = {0x01751997d0, 0x00ccaa009e};
    alignas(16) static const uint64_t k5k0[] = {0x0163cd6124, 0x0000000000};
    alignas(16) static const uint64_t poly[] = {0x01db710641, 0x01f7011641};
    __m128i x1 = _mm_xor_si128(LoadBlock(bytes), _mm_cvtsi32_si128(static_cast<int>(value)));
    __m128i x2 = LoadBlock(bytes + 16);
    __m128i x3 = LoadBlock(bytes + 32);
    __m128i x4 = LoadBlock(bytes + 48);
    bytes += 64;
    length -= 64;
    __m128i k = _mm_load_si128(reinterpret_cast<const __m128i*>(k1k2));
    for (; length >= 64; bytes += 64, length -= 64) {
        x1 = FoldLane(x1, k, LoadBlock(bytes));
        x2 = FoldLane(x2, k, LoadBlock(bytes + 16));
        x3 = FoldLane(x3, k, LoadBlock(bytes + 32));
        x4 = FoldLane(x4, k, LoadBlock(bytes + 48));
    }
    k = _mm_load_si128(reinterpret_cast<const __m128i*>(k3k4));
    x1 = FoldLane(x1, k, x2);
    x1 = FoldLane(x1, k, x3);
    x1 = FoldLane(x1, k, x4);
    for (; length >= 16; bytes += 16, length -= 16)
        x1 = FoldLane(x1, k, LoadBlock(bytes));

    // 128 bits to 64.
    const __m128i mask32 = _mm_setr_epi32(~0, 0, ~0, 0);
    x1 = _mm_xor_si128(_mm_srli_si128(x1, 8), _mm_clmulepi64_si128(x1, k, 0x10));
    k = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(k5k0));
    x1 = _mm_xor_si128(_mm_clmulepi64_si128(_mm_and_si128(x1, mask32), k, 0x00), _mm_srli_si128(x1, 4));
    // Barrett reduction to 32 bits.
    k = _mm_load_si128(reinterpret_cast<const __m128i*>(poly));
    __m128i x2b = _mm_clmulepi64_si128(_mm_and_si128(x1, mask32), k, 0x10);
    x2b = _mm_clmulepi64_si128(_mm_and_si128(x2b, mask32), k, 0x00);
    return static_cast<uint32_t>(_mm_extract_epi32(_mm_xor_si128(x1, x2b), 1));
}

bool HasCarrylessMultiply()
{
    static const bool has = __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
    return has;
}

#endif

} // namespace

void Crc32Accumulator::Update(const void* data, std::size_t length)
{
    if (!data)
        return;
    const CrcTables& t = GetCrcTables();
    const auto* bytes = static_cast<const unsigned char*>(data);
    uint32_t value = value_;
#if defined(VX_CRC32_CLMUL)
    if (length >= 64 && HasCarrylessMultiply()) {
        const std::size_t blocks = length & ~std::size_t(15);
        value = FoldBlocks(bytes, blocks, value);
        bytes += blocks;
        length -= blocks;
    }
#endif
    for (; length >= 8; bytes += 8, length -= 8) {
        const uint32_t low = value ^ ReadLe32(bytes);
        const uint32_t high = ReadLe32(bytes + 4);
        value = t[7][low & 0xFFu] ^ t[6][(low >> 8) & 0xFFu] ^ t[5][(low >> 16) & 0xFFu] ^ t[4][low >> 24]
            ^ t[3][high & 0xFFu] ^ t[2][(high >> 8) & 0xFFu] ^ t[1][(high >> 16) & 0xFFu] ^ t[0][high >> 24];
    }
    for (; length > 0; ++bytes, --length)
        value = (value >> 8) ^ t[0][(value ^ *bytes) & 0xFFu];
    value_ = value;
}

uint32_t Crc32(const void* data, std::size_t length)
{
    Crc32Accumulator crc;
    crc.Start();
    crc.Update(data, length);
    return crc.Finish();
}

uint32_t Crc32OfText(const char* text)
{
    if (!text)
        return 0;
    return Crc32(text, std::strlen(text) + 1);
}

} // namespace vx
