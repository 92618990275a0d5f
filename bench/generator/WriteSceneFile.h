#pragma once
// A generated scene as a scene file: the JSON file at path, its arrays in a binary side file beside
// it (path's stem + ".bin") and the texture images in a folder beside it (stem + "-textures").

#include "generator/GeneratedScene.h"

#include <string>

namespace vx::bench {

// The files that WriteSceneFile writes for the scene file at path.
struct SceneFilePaths {
    std::string json;
    std::string sideFile;
    std::string textureFolder;
};
SceneFilePaths GetSceneFilePaths(const std::string& path);

// Writes scene to path (and its side file and texture images), replacing what is there. The
// output depends only on scene and on the file name of path. Returns "" on success, else a text
// naming the file that could not be written.
std::string WriteSceneFile(const GeneratedScene& scene, const std::string& path);

} // namespace vx::bench
