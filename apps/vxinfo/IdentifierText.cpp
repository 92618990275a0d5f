#include "vxinfo/IdentifierText.h"

#include "base/Crc32.h"

#include <cstdint>
#include <cstdio>

namespace vxinfo {

std::string IdentifierText(const std::string& bytes)
{
    if (bytes.size() != 16)
        return {};
    const auto b = [&](int i) {
        return static_cast<unsigned>(static_cast<uint8_t>(bytes[static_cast<std::size_t>(i)]));
    };
    char text[40];
    std::snprintf(text, sizeof text, "%02x%02x%02x%02x-%02x%02x-%02x%02x-%02x%02x-%02x%02x%02x%02x%02x%02x",
        b(3), b(2), b(1), b(0), b(5), b(4), b(7), b(6), b(8), b(9), b(10), b(11), b(12), b(13), b(14), b(15));
    return text;
}

std::string NameIdentifierBytes(const std::string& text)
{
    std::string bytes(16, '\0');
    const uint32_t crc = vx::Crc32OfText(text.c_str());
    for (int i = 0; i < 4; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<char>((crc >> (8 * i)) & 0xFF);
    for (std::size_t i = 0; i < 12 && i < text.size(); ++i)
        bytes[4 + i] = text[i];
    return bytes;
}

std::optional<int64_t> IdentifierMilliseconds(const std::string& bytes)
{
    if (bytes.size() != 16)
        return std::nullopt;
    const auto byte = [&](std::size_t i) { return static_cast<uint64_t>(static_cast<uint8_t>(bytes[i])); };
    const bool version7 = (byte(7) >> 4) == 7 && (byte(8) >> 6) == 2; // version nibble, RFC variant
    if (!version7)
        return std::nullopt;
    const uint64_t high = byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
    const uint64_t low = byte(4) | byte(5) << 8;
    return static_cast<int64_t>(high << 16 | low);
}

} // namespace vxinfo
