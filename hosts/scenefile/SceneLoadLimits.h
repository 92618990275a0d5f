#pragma once
// The scene file loader's limits. Anything larger is refused before memory is allocated for it.
// docs/scene-format.md lists the defaults; tests lower them.

#include <cstdint>

namespace vx {

struct SceneLoadLimits {
    // Size of the JSON scene file. Large arrays belong in side files.
    std::uint64_t maxSceneFileBytes = 64ull << 20;
    // Nesting of JSON arrays and objects.
    int maxJsonDepth = 1000;
    // Depth of the node hierarchy: the root's children are at depth 1.
    int maxNodeDepth = 256;
    // Levels of sub-material, sub-texture and derived-object nesting (a material without
    // sub-materials is one level, a multi/sub-object material over such materials two).
    int maxMaterialDepth = 256;
    // Number of declarations of each kind (nodes, objects, materials, textures) and of side files.
    std::uint64_t maxDeclarations = 1000000;
    std::uint64_t maxBuffers = 1024;
    // Items of one array (vertices, faces, normals, map vertices, map faces, pixels).
    std::uint64_t maxArrayItems = 1ull << 28;
    // Bytes of memory for all mesh arrays and bitmap pixels of the scene together.
    std::uint64_t maxSceneArrayBytes = 4ull << 30;
};

} // namespace vx
