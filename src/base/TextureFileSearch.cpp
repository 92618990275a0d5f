#include "base/TextureFileSearch.h"

#include "base/Paths.h"

#include <strings.h>

namespace vx {

namespace {

// folder as a prefix ending in '/' followed by file; nothing when folder is empty.
std::optional<std::string> InFolder(std::string folder, const std::string& file)
{
    MakeDirectoryPath(folder);
    if (folder.empty())
        return std::nullopt;
    return folder + file;
}

bool IsExisting(const std::optional<std::string>& candidate)
{
    return candidate && FileExists(candidate->c_str());
}

} // namespace

std::optional<std::string> FindTextureFile(
    const char* name, const char* path, const TextureSearchPlaces& places)
{
    const char* imageName = name ? name : "";
    const char* imagePath = path ? path : "";
    const bool relative = IsRelativePath(imagePath);
    if (relative || strcasecmp(GetExtension(imageName), ".tga") == 0) {
        const std::string folder = GetDirectory(places.sceneFilePath.c_str());
        const std::string png = GetFileTitle(imageName) + ".png";
        if (!folder.empty()) {
            for (const std::string& candidateFolder : {folder + "png/", folder}) {
                const auto candidate = InFolder(candidateFolder, png);
                if (IsExisting(candidate))
                    return candidate;
            }
        }
    }
    if (!relative && FileExists(imagePath))
        return std::string(imagePath);
    if (*imageName) {
        for (const std::string& dir : places.mapDirectories) {
            const auto candidate = InFolder(dir, imageName);
            if (IsExisting(candidate))
                return candidate;
        }
    }
    return std::nullopt;
}

} // namespace vx
