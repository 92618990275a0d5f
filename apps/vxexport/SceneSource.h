#pragma once
// Where vxexport's scene comes from: a scene file (JSON) loaded directly, or a real 3D file (FBX,
// glTF, OBJ, COLLADA, 3DS) imported by the vximport program in a child process, which writes the
// scene as a scene file into a temporary folder that is then loaded like any other.

#include "vxexport/ImportProcess.h"

#include "memoryhost/MemoryHost.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vx {

// True when path's extension (in any case) is one the importer reads: .fbx, .gltf, .glb, .obj,
// .dae, .3ds. Every other file is read as a scene file.
bool IsImportedSceneFile(const std::string& path);

// A folder made for one run, removed with its contents when the last owner lets go.
class TemporaryFolder {
public:
    // A new empty folder under the system's temporary folder; nothing when none can be made.
    static std::shared_ptr<TemporaryFolder> Create();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& GetPath() const { return path_; }

private:
    explicit TemporaryFolder(std::filesystem::path path)
        : path_(std::move(path))
    {
    }
    std::filesystem::path path_;
};

struct SceneSourceRequest {
    std::string scene;
    // The unit name for imported files that state none (vximport's --unit); empty for metres.
    std::string unit;
    // The importer program; empty for vximport beside the running program.
    std::string importer;
    // Where the images an imported file embeds are written; empty for the temporary folder.
    std::string imageFolder;
    // Let an imported file name images and buffers outside its own folder.
    bool allowOutsideReferences = false;
    // How the importer is watched: its time and memory limits, and the cancel.
    ChildWatch importWatch;
};

struct SceneSource {
    // The scene; null when it could not be loaded.
    std::unique_ptr<MemoryHost> scene;
    // Why not: "<file>: <reason>"; empty when it loaded.
    std::string error;
    // The import was cancelled (importWatch's cancel); error says so.
    bool cancelled = false;
    // What the importer said of a file it imported: its stderr lines (such as "vximport: note:
    // ..." for what it assumed where the file reads more than one way); empty for scene files.
    std::vector<std::string> notes;
    // The import's files (its scene file, embedded images), kept while the scene is in use.
    std::shared_ptr<TemporaryFolder> importFolder;
};

// Loads request's scene: a scene file with LoadSceneFile, a file to import through the importer in
// a child process. A failing, crashing, hanging (killed after the watch's timeout) or cancelled
// importer, or one that ran out of its memory, gives an error naming the file, never more; the
// import folder is gone with the returned source.
SceneSource LoadSceneSource(const SceneSourceRequest& request);

} // namespace vx
