#pragma once
// Writing an RGB image as a PNG file (stb_image_write).

#include "vxinfo/SoftwareRasteriser.h"

#include <string>

namespace vxinfo {

// Writes image to path as an 8-bit RGB PNG. Returns "" on success, otherwise why it failed.
std::string WritePng(const RgbImage& image, const std::string& path);

} // namespace vxinfo
