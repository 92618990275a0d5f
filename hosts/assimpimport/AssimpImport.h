#pragma once
// Imports a real 3D file (FBX binary or ASCII, glTF 2.0 .gltf/.glb, OBJ with MTL, COLLADA .dae,
// 3DS) through Assimp into a memory host, so that the exporter sees it as it sees a scene file.
// docs/importing.md gives the mapping: what is kept, what becomes what, what is lost.

#include "memoryhost/MemoryHost.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vx {

struct AssimpImportOptions {
    // The unit of files that state none (OBJ, 3DS); metres when not given. FBX files bring their
    // unit scale factor, glTF is metres, and COLLADA is converted to metres by the importer.
    std::optional<HostUnitInfo> unit;
    // The folder that embedded images (glb, FBX) are written to; created when needed. The scene's
    // textures refer to the files written there.
    std::string imageFolder;
    // Read images and buffers that the file names outside its own folder; off by default, so that
    // a file cannot copy any readable file into the design.
    bool allowOutsideReferences = false;
};

struct AssimpImportResult {
    // The scene; null when the file did not import.
    std::unique_ptr<MemoryHost> scene;
    // Why it did not import (the importer's message, naming the file); empty on success.
    std::string error;
    // It did not import because memory ran out (an allocation failed); error says so.
    bool outOfMemory = false;
    // What the import assumed where the file can be read more than one way, one line each naming
    // the file ("model.dae: opacity 0 read as opaque: ..."); they do not stop the import.
    std::vector<std::string> notes;
};

// Imports the file at path. The host's scene file is path (made absolute), so that the exporter
// names the scene after it and looks for textures beside it. A file that the importer refuses, or
// that holds no scene (no root node), gives an error and no scene. A file with cameras, lights or
// empty nodes and no mesh imports as such a scene.
AssimpImportResult ImportAssimpScene(const std::string& path, const AssimpImportOptions& options);

} // namespace vx
