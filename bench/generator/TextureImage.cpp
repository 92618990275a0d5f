#include "generator/TextureImage.h"

#include <fstream>

namespace vx::bench {

std::string MakeTextureImage(const GeneratedTexture& texture)
{
    // Header: no id, no colour map, type 2 (true colour), 24 bits, rows bottom to top.
    std::string bytes(18, '\0');
    bytes[2] = 2;
    bytes[12] = static_cast<char>(kTextureImageSize & 0xFF);
    bytes[13] = static_cast<char>(kTextureImageSize >> 8);
    bytes[14] = static_cast<char>(kTextureImageSize & 0xFF);
    bytes[15] = static_cast<char>(kTextureImageSize >> 8);
    bytes[16] = 24;
    const std::uint32_t seed = texture.colorSeed;
    for (int y = 0; y < kTextureImageSize; ++y) {
        for (int x = 0; x < kTextureImageSize; ++x) {
            const bool check = ((x / 8) + (y / 8)) % 2 == 0;
            const std::uint32_t shade = check ? seed : ~seed;
            bytes.push_back(static_cast<char>(shade & 0xFF));
            bytes.push_back(static_cast<char>((shade >> 8) & 0xFF));
            bytes.push_back(static_cast<char>((shade >> 16) & 0xFF));
        }
    }
    return bytes;
}

bool WriteTextureImages(const GeneratedScene& scene, const std::string& folder)
{
    for (const GeneratedTexture& texture : scene.textures) {
        std::ofstream file(folder + "/" + texture.fileName, std::ios::binary | std::ios::trunc);
        const std::string bytes = MakeTextureImage(texture);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!file)
            return false;
    }
    return true;
}

} // namespace vx::bench
