#pragma once
// A generated scene as an in-memory host, the way the scene file loader would build it.

#include "generator/GeneratedScene.h"

#include "memoryhost/MemoryHost.h"

#include <memory>
#include <string>

namespace vx::bench {

// A host holding scene. Bitmap textures name their image files in textureFolder (absolute; the
// files are expected there, see WriteTextureImages); sceneFile becomes the host's scene file path.
std::unique_ptr<MemoryHost> BuildMemoryScene(
    const GeneratedScene& scene, const std::string& textureFolder, const std::string& sceneFile);

} // namespace vx::bench
