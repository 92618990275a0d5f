#define STBI_NO_STDIO
#include <stb/stb_image.h>

#include "memoryhost/DecodeImage.h"
#include "memoryhost/ImageHeader.h"

#include "base/FileContent.h"

#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

namespace vx {

namespace {

struct FreeImage {
    void operator()(stbi_us* pixels) const { stbi_image_free(pixels); }
};

// The file's bytes: a regular file only (never a FIFO or a device), of at most what stb decodes.
std::optional<std::vector<unsigned char>> ReadWholeFile(const std::string& path)
{
    return ReadRegularFile(path.c_str(), static_cast<std::size_t>(INT32_MAX));
}

} // namespace

std::optional<MemoryImage> DecodeImageFile(const std::string& path)
{
    // The header decides the size limit before any pixel memory is taken.
    const std::optional<HostBitmap> header = ReadImageHeader(path);
    if (!header)
        return std::nullopt;
    MemoryImage image;
    image.width = header->width;
    image.height = header->height;
    image.hasAlpha = header->hasAlpha;
    if (static_cast<long long>(header->width) * header->height > kMaxDecodedPixels)
        return image;

    const std::optional<std::vector<unsigned char>> bytes = ReadWholeFile(path);
    if (!bytes || bytes->empty() || bytes->size() > static_cast<std::size_t>(INT32_MAX))
        return std::nullopt;
    int width = 0;
    int height = 0;
    int channels = 0;
    std::unique_ptr<stbi_us, FreeImage> pixels(stbi_load_16_from_memory(
        bytes->data(), static_cast<int>(bytes->size()), &width, &height, &channels, 4));
    if (!pixels || width <= 0 || height <= 0 || static_cast<long long>(width) * height > kMaxDecodedPixels)
        return std::nullopt;
    image.width = width;
    image.height = height;
    image.hasAlpha = channels == 2 || channels == 4;
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    image.pixels.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const stbi_us* p = pixels.get() + 4 * i;
        image.pixels[i] = HostPixel64 {p[0], p[1], p[2], p[3]};
    }
    return image;
}

} // namespace vx
