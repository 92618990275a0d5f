#include "memoryhost/ProceduralPattern.h"

#include <algorithm>
#include <cmath>

namespace vx {

namespace {

std::uint16_t ToChannel(float value)
{
    const float clamped = std::isfinite(value) ? std::clamp(value, 0.0f, 1.0f) : 0.0f;
    return static_cast<std::uint16_t>(std::lround(clamped * 65535.0f));
}

HostPixel64 ToPixel(const HostColor& c)
{
    return HostPixel64 {ToChannel(c.r), ToChannel(c.g), ToChannel(c.b), 65535};
}

HostColor Mix(const HostColor& a, const HostColor& b, float t)
{
    return HostColor {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// The gradient's colour at height fraction t (0 top, 1 bottom).
HostColor GradientColour(const ProceduralPattern& pattern, float t)
{
    if (t <= 0.5f)
        return Mix(pattern.colours[0], pattern.colours[1], t * 2.0f);
    return Mix(pattern.colours[1], pattern.colours[2], (t - 0.5f) * 2.0f);
}

} // namespace

std::optional<MemoryImage> RenderPattern(const ProceduralPattern& pattern, int width, int height)
{
    if (width < 1 || height < 1 || width > kMaxRenderSide || height > kMaxRenderSide)
        return std::nullopt;
    MemoryImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    const long long tiles = std::max(1, pattern.tiles);
    for (int y = 0; y < height; ++y) {
        const HostPixel64 rowColour = ToPixel(GradientColour(
            pattern, height > 1 ? static_cast<float>(y) / static_cast<float>(height - 1) : 0.0f));
        for (int x = 0; x < width; ++x) {
            HostPixel64& pixel = image.pixels[static_cast<std::size_t>(y) * width + x];
            if (pattern.kind == ProceduralPattern::Kind::Gradient) {
                pixel = rowColour;
                continue;
            }
            const long long column = x * tiles / width;
            const long long row = y * tiles / height;
            pixel = ToPixel(pattern.colours[(column + row) % 2]);
        }
    }
    return image;
}

} // namespace vx
