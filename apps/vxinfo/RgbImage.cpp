#include "vxinfo/RgbImage.h"

#include <cmath>

namespace vxinfo {

namespace {

// The index of texel k of a row or column of size texels, repeating.
int Wrap(long k, int size)
{
    const long r = k % size;
    return static_cast<int>(r < 0 ? r + size : r);
}

} // namespace

std::array<double, 3> SampleTexture(const RgbImage& image, double u, double v)
{
    if (image.width < 1 || image.height < 1
        || image.pixels.size()
            != static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 3
        || !std::isfinite(u) || !std::isfinite(v))
        return {0, 0, 0};
    // Texel centres sit at half-pixel positions.
    const double x = (u - std::floor(u)) * image.width - 0.5;
    const double y = (v - std::floor(v)) * image.height - 0.5;
    const double x0 = std::floor(x), y0 = std::floor(y);
    const double fx = x - x0, fy = y - y0;
    const int xs[2]
        = {Wrap(static_cast<long>(x0), image.width), Wrap(static_cast<long>(x0) + 1, image.width)};
    const int ys[2]
        = {Wrap(static_cast<long>(y0), image.height), Wrap(static_cast<long>(y0) + 1, image.height)};
    const double weights[2][2] = {{(1 - fx) * (1 - fy), fx * (1 - fy)}, {(1 - fx) * fy, fx * fy}};
    std::array<double, 3> colour {0, 0, 0};
    for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 2; ++i) {
            const std::size_t at
                = (static_cast<std::size_t>(ys[j]) * static_cast<std::size_t>(image.width) + xs[i]) * 3;
            for (std::size_t c = 0; c < 3; ++c)
                colour[c] += weights[j][i] * image.pixels[at + c] / 255.0;
        }
    return colour;
}

} // namespace vxinfo
