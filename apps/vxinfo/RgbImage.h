#pragma once
// An 8-bit RGB picture in memory, as the preview draws it and as textures are sampled from it.

#include <array>
#include <cstdint>
#include <vector>

namespace vxinfo {

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels; // width * height * 3 bytes, top row first
};

// The colour (0-1 per channel) of image at texture coordinates (u, v), bilinear between the four
// nearest pixels: (0, 0) is the top-left corner of the first row, (1, 1) the bottom-right corner of
// the last; the image repeats outside 0-1. Black for an empty or inconsistent image.
std::array<double, 3> SampleTexture(const RgbImage& image, double u, double v);

} // namespace vxinfo
