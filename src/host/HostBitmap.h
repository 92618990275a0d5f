#pragma once
// A host bitmap: the image of a bitmap texture (or a rendered texture), 16 bits per channel.

#include <cstdint>
#include <span>
#include <vector>

namespace vx {

struct HostPixel64 {
    std::uint16_t r = 0;
    std::uint16_t g = 0;
    std::uint16_t b = 0;
    std::uint16_t a = 0;
    friend bool operator==(const HostPixel64&, const HostPixel64&) = default;
};

struct HostBitmap {
    int width = 0;
    int height = 0;
    // Pixel aspect ratio (1 for square pixels).
    float aspect = 1.0f;
    bool hasAlpha = false;
    // width * height pixels, top row first; empty when the host knows only the image's header.
    std::vector<HostPixel64> pixels;

    bool HasPixels() const
    {
        return width > 0 && height > 0 && pixels.size() == size_t(width) * size_t(height);
    }
    // Row y (0 = top); empty when y is out of range or the pixels are not known.
    std::span<const HostPixel64> GetRow(int y) const
    {
        if (!HasPixels() || y < 0 || y >= height)
            return {};
        return std::span<const HostPixel64>(pixels).subspan(size_t(y) * size_t(width), size_t(width));
    }
};

} // namespace vx
