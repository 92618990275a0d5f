#include "materials/CopyHostImage.h"

namespace vx {

uint8_t ReduceChannel(uint16_t value)
{
    return static_cast<uint8_t>((uint32_t(value) * 255u + 32767u) / 65535u);
}

bool CopyHostImage(const HostBitmap& bitmap, VMImage& image)
{
    image = VMImage {};
    if (!bitmap.HasPixels())
        return false;
    image.width = bitmap.width;
    image.height = bitmap.height;
    image.hasAlpha = bitmap.hasAlpha;
    image.rgba.reserve(bitmap.pixels.size() * 4);
    bool grayscale = true;
    for (const HostPixel64& p : bitmap.pixels) {
        const uint8_t r = ReduceChannel(p.r);
        const uint8_t g = ReduceChannel(p.g);
        const uint8_t b = ReduceChannel(p.b);
        grayscale = grayscale && r == g && g == b;
        image.rgba.insert(image.rgba.end(), {r, g, b, ReduceChannel(p.a)});
    }
    image.grayscale = grayscale;
    return true;
}

} // namespace vx
