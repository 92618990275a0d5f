#pragma once
// Keeping an imported 3D file to its own folder: the images and buffers it names are read only when
// they lie inside the file's folder (after links are resolved), so that a hostile file cannot copy
// an arbitrary readable file ("../../../../etc/shadow", an absolute path) into the design.

#include <assimp/DefaultIOSystem.h>

#include <string>
#include <vector>

namespace vx {

// Whether path (absolute or relative to the working directory) lies inside folder, both taken
// with their links resolved.
bool IsInsideFolder(const std::string& path, const std::string& folder);

// The sentence a refused reference adds to the import's notes.
std::string DescribeRefusedReference(const std::string& reference);

// Assimp's file access limited to one folder: a file outside it does not exist for Assimp, and
// each one asked for is recorded (once) in refused.
class FolderBoundIOSystem : public Assimp::DefaultIOSystem {
public:
    FolderBoundIOSystem(std::string folder, std::vector<std::string>& refused);

    bool Exists(const char* file) const override;
    Assimp::IOStream* Open(const char* file, const char* mode = "rb") override;

private:
    // Whether file may be read; records it in refused_ when not.
    bool Allows(const char* file) const;

    std::string folder_;
    std::vector<std::string>& refused_;
};

} // namespace vx
