#pragma once
// Where a texture's image file is found: the ".png" copy of a ".tga" image (or of an image recorded
// without folder) beside the scene file or in its "png" subfolder, the recorded path itself, or the
// image's file name in one of the host's map directories. Scene files written on another machine
// record paths such as "c:\maps\wood.tga" that do not exist here; this search is what finds them.

#include <optional>
#include <string>
#include <vector>

namespace vx {

// The folders a search looks in.
struct TextureSearchPlaces {
    // The current scene file's full path; "" for an unsaved scene.
    std::string sceneFilePath;
    // The host's map directories, in order.
    std::vector<std::string> mapDirectories;
};

// The existing file that stands for the image name (a file name, no folder) recorded at path:
// 1. when name's extension is ".tga" (any case) or path is relative: "<scene folder>/png/<title>.png",
//    then "<scene folder>/<title>.png" (title = name without extension);
// 2. when path is not relative: path itself;
// 3. "<map directory>/<name>" for each map directory in order.
// The first candidate that FileExists is returned; nothing when none does. Candidates whose folder is
// empty (an unsaved scene, an empty map directory entry) are skipped rather than looked up in the
// working directory, and so is the map-directory step for an empty name.
std::optional<std::string> FindTextureFile(
    const char* name, const char* path, const TextureSearchPlaces& places);

} // namespace vx
