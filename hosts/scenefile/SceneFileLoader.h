#pragma once
// Loads a scene file (JSON, with optional binary side files) into a memory host. The format is
// described in docs/scene-format.md.

#include "memoryhost/MemoryHost.h"
#include "scenefile/SceneLoadError.h"
#include "scenefile/SceneLoadLimits.h"

#include <memory>
#include <optional>
#include <string>

namespace vx {

struct SceneLoadResult {
    // The scene; null when the file did not load.
    std::unique_ptr<MemoryHost> scene;
    // Why it did not load; empty when it loaded.
    std::optional<SceneLoadError> error;
};

// Loads the scene file at path. Every fault of the file (unreadable, malformed, inconsistent, over
// the limits) gives an error and no scene; nothing of a partly read scene is returned. Relative
// paths inside the file are resolved against the file's folder.
SceneLoadResult LoadSceneFile(const std::string& path, const SceneLoadLimits& limits = {});

// Loads a scene document held in memory as if it had been read from the file at path: path names
// it in errors, and relative paths inside it (side files, textures) resolve against its folder.
// The file at path itself is not read. Fails like LoadSceneFile.
SceneLoadResult LoadSceneText(
    const std::string& text, const std::string& path, const SceneLoadLimits& limits = {});

} // namespace vx
