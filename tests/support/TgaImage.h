#pragma once
// Writing small uncompressed TGA images for tests: a real image file any decoder reads.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vxtest {

using Rgba = std::array<std::uint8_t, 4>;

// The bytes of a width x height 32-bit TGA file (with alpha) of pixels, given top row first.
inline std::string EncodeTga(int width, int height, const std::vector<Rgba>& pixels)
{
    std::string bytes(18, '\0');
    bytes[2] = 2; // uncompressed true colour
    bytes[12] = static_cast<char>(width & 0xFF);
    bytes[13] = static_cast<char>(width >> 8);
    bytes[14] = static_cast<char>(height & 0xFF);
    bytes[15] = static_cast<char>(height >> 8);
    bytes[16] = 32;
    bytes[17] = 0x28; // 8 alpha bits, top row first
    for (const Rgba& p : pixels)
        bytes += {static_cast<char>(p[2]), static_cast<char>(p[1]), static_cast<char>(p[0]),
            static_cast<char>(p[3])};
    return bytes;
}

// A width x height image of one colour.
inline std::string EncodeTga(int width, int height, Rgba colour)
{
    return EncodeTga(width, height, std::vector<Rgba>(static_cast<std::size_t>(width) * height, colour));
}

} // namespace vxtest
