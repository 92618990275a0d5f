// The image decoder of libstb-dev, compiled here with its functions kept private to this file (other
// parts of the project link their own copy). Its own warnings are silenced for this file in the build.
#include "vxinfo/ImageConversion.h"

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_ONLY_TGA
#define STBI_NO_STDIO
#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

#include <memory>

namespace vxinfo {

namespace {

void AppendBytes(void* context, void* data, int size)
{
    static_cast<std::string*>(context)->append(
        static_cast<const char*>(data), static_cast<std::size_t>(size));
}

constexpr int LARGEST_SIDE = 16384;

// Decodes bytes into channels per pixel; null when they are no image stb reads or too large.
std::unique_ptr<stbi_uc, void (*)(void*)> DecodePixels(
    const std::string& bytes, int channels, int& width, int& height)
{
    std::unique_ptr<stbi_uc, void (*)(void*)> none(nullptr, stbi_image_free);
    if (bytes.empty() || bytes.size() > 0x7FFFFFFF)
        return none;
    const auto* data = reinterpret_cast<const stbi_uc*>(bytes.data());
    const int size = static_cast<int>(bytes.size());
    int stored = 0;
    if (!stbi_info_from_memory(data, size, &width, &height, &stored) || width > LARGEST_SIDE
        || height > LARGEST_SIDE)
        return none;
    return {stbi_load_from_memory(data, size, &width, &height, &stored, channels), stbi_image_free};
}

} // namespace

std::optional<ViewerImage> MakeViewerImage(const std::string& bytes)
{
    if (bytes.size() >= 8 && bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0)
        return ViewerImage {bytes, "image/png"};
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xFF\xD8\xFF") == 0)
        return ViewerImage {bytes, "image/jpeg"};
    int width = 0, height = 0;
    const auto pixels = DecodePixels(bytes, 4, width, height);
    if (!pixels)
        return std::nullopt;
    ViewerImage image {{}, "image/png"};
    if (!stbi_write_png_to_func(AppendBytes, &image.bytes, width, height, 4, pixels.get(), width * 4))
        return std::nullopt;
    return image;
}

std::optional<RgbImage> DecodeRgbImage(const std::string& bytes)
{
    RgbImage image;
    const auto pixels = DecodePixels(bytes, 3, image.width, image.height);
    if (!pixels)
        return std::nullopt;
    image.pixels.assign(pixels.get(),
        pixels.get() + static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 3);
    return image;
}

} // namespace vxinfo
