#include "vxinfo/PngWriting.h"

#include <stb/stb_image_write.h>

namespace vxinfo {

std::string WritePng(const RgbImage& image, const std::string& path)
{
    if (image.width < 1 || image.height < 1
        || image.pixels.size()
            != static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 3)
        return "the image is empty or inconsistent";
    if (!stbi_write_png(path.c_str(), image.width, image.height, 3, image.pixels.data(), image.width * 3))
        return "cannot write " + path;
    return {};
}

} // namespace vxinfo
