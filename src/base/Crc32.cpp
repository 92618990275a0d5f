#include "base/Crc32.h"

#include <array>
#include <cstring>

namespace vx {

namespace {

using CrcTable = std::array<uint32_t, 256>;

// Entry i: i shifted right through eight rounds, exclusive-or-ing the polynomial whenever the bit
// shifted out was 1. Built on first use.
const CrcTable& GetCrcTable()
{
    static const CrcTable table = [] {
        CrcTable built {};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t value = i;
            for (int round = 0; round < 8; ++round)
                value = (value & 1u) ? (value >> 1) ^ 0xEDB88320u : value >> 1;
            built[i] = value;
        }
        return built;
    }();
    return table;
}

} // namespace

void Crc32Accumulator::Update(const void* data, std::size_t length)
{
    if (!data)
        return;
    const CrcTable& table = GetCrcTable();
    const auto* bytes = static_cast<const unsigned char*>(data);
    uint32_t value = value_;
    for (std::size_t i = 0; i < length; ++i)
        value = (value >> 8) ^ table[(value ^ bytes[i]) & 0xFFu];
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
