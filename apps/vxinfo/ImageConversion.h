#pragma once
// Stored texture images in a form glTF viewers read: PNG and JPEG as they are, other images (BMP,
// TGA) converted to PNG.

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

} // namespace vxinfo
