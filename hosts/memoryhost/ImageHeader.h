#pragma once
// Reads the size and alpha presence of an image file from its header, the way the host learns a
// bitmap's dimensions when it loads an image. Pixels are not decoded.

#include "host/HostBitmap.h"

#include <optional>
#include <string>

namespace vx {

// The header of the PNG, JPEG, BMP or TGA file at path as a bitmap without pixels (aspect 1);
// nothing when the file cannot be read or is not one of these formats. TGA has no signature and is
// recognised by the extension ".tga" (any case).
std::optional<HostBitmap> ReadImageHeader(const std::string& path);

} // namespace vx
