#pragma once
// Writes a memory host's scene as a scene file (docs/scene-format.md) that LoadSceneFile reads back
// into an equal scene: what an imported file became, for users to see and edit, and the way the
// importer hands its scene to vxexport.

#include "memoryhost/MemoryHost.h"

#include <cstddef>
#include <optional>
#include <string>

namespace vx {

struct SceneWriteOptions {
    // Arrays with more items than this go to the side file "<name>.bin" beside the scene file.
    std::size_t maxInlineItems = 1024;
};

struct SceneWriteError {
    std::string file;
    std::string message;
};

// Writes every node under host's root with the objects, materials and textures they use (reached
// through the nodes; declarations that no node uses are left out), the unit, the scene file path,
// the map folders, the timeline and the root's user properties. Paths are written absolute. Left
// out: transform controllers (a node with a controller is written with its transform at time 0).
// Returns the file that could not be written and why; nothing on success.
std::optional<SceneWriteError> WriteSceneFile(
    const MemoryHost& host, const std::string& path, const SceneWriteOptions& options = {});

} // namespace vx
