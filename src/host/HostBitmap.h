#pragma once
// A host bitmap: the image of a bitmap texture (or a rendered texture), 16 bits per channel. A plain
// record whose pixels are a view of memory the host owns; see the operation that returned it for how
// long the view stays valid.

#include "host/HostTypes.h"

#include <cstddef>
#include <cstdint>

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
    HostArray<HostPixel64> pixels;

    // True when the size is positive and the pixels cover it exactly.
    bool HasPixels() const
    {
        return width > 0 && height > 0 && pixels.data
            && pixels.count == std::size_t(width) * std::size_t(height);
    }
    // Row y (0 = top); empty when y is out of range or the pixels are not known.
    HostArray<HostPixel64> GetRow(int y) const
    {
        if (!HasPixels() || y < 0 || y >= height)
            return {};
        return {pixels.data + std::size_t(y) * std::size_t(width), std::size_t(width)};
    }
};

} // namespace vx
