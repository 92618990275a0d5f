#include "base/Crc32.h"

#include <array>
#include <cstring>

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

} // namespace

void Crc32Accumulator::Update(const void* data, std::size_t length)
{
    if (!data)
        return;
    const CrcTables& t = GetCrcTables();
    const auto* bytes = static_cast<const unsigned char*>(data);
    uint32_t value = value_;
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
