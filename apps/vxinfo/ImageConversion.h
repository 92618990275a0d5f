#pragma once
// Stored texture images (PNG, JPEG, BMP, TGA) in the forms the inspector uses: as glTF viewers read
// them (PNG and JPEG as they are, others converted to PNG), and as pixels for the preview.

#include "vxinfo/RgbImage.h"

#include <optional>
#include <string>

namespace vxinfo {

struct ViewerImage {
    std::string bytes;
    std::string mimeType; // image/png or image/jpeg
};

// The image of bytes for a glTF file; nothing when the bytes are no image that can be decoded, or
// an image larger than 16384 x 16384 pixels.
std::optional<ViewerImage> MakeViewerImage(const std::string& bytes);

// The pixels of the image in bytes (an alpha channel is dropped); nothing when the bytes are no
// image that can be decoded, or an image larger than 16384 x 16384 pixels.
std::optional<RgbImage> DecodeRgbImage(const std::string& bytes);

} // namespace vxinfo
