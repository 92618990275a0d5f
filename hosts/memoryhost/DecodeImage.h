#pragma once
// Decoding image files (PNG, JPEG, BMP, TGA) into the host's 16-bit pixels, as the host does when it
// loads a bitmap texture's image.

#include "memoryhost/MemoryImage.h"

#include <optional>
#include <string>

namespace vx {

// Images with more pixels than this are not decoded; only their size is kept.
constexpr long long kMaxDecodedPixels = 1LL << 24;

// The image at path with its pixels (8-bit channels widened to 16 bits as v x 257; alpha 65535 for
// images without alpha), aspect 1. An image whose header shows more than kMaxDecodedPixels pixels
// gives its size without pixels. Nothing when the file cannot be read, is not a PNG, JPEG, BMP or
// TGA (by the extension ".tga") image, or cannot be decoded.
std::optional<MemoryImage> DecodeImageFile(const std::string& path);

} // namespace vx
