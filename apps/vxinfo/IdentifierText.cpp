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

} // namespace vxinfo
