#pragma once
// Assimp's file access made safe for hostile files. The images and buffers an imported 3D file
// names are read only when they lie inside the file's folder (after links are resolved), so that a
// hostile file cannot copy an arbitrary readable file ("../../../../etc/shadow", an absolute path)
// into the design; and only regular files are opened, without blocking, so that a FIFO or a device
// (/dev/zero) named by the file, or given as the file, cannot hang the import or feed it without end.

#include <assimp/DefaultIOSystem.h>

#include <string>
#include <vector>

namespace vx {

// Whether path (absolute or relative to the working directory) lies inside folder, both taken
// with their links resolved.
bool IsInsideFolder(const std::string& path, const std::string& folder);

// The sentence a refused reference adds to the import's notes.
std::string DescribeRefusedReference(const std::string& reference);

// The sentence a reference to a FIFO, a device or a folder adds to the import's notes.
std::string DescribeSpecialFileReference(const std::string& reference);

// The files Assimp asked for and did not get, each recorded once.
struct RefusedFiles {
    std::vector<std::string> outsideFolder; // lie outside the file's folder
    std::vector<std::string> notRegular; // FIFOs, devices, folders
};

// Assimp's file access limited to regular files and, unless boundToFolder is false, to one folder:
// any other file does not exist for Assimp, and each one asked for is recorded in refused.
class FolderBoundIOSystem : public Assimp::DefaultIOSystem {
public:
    FolderBoundIOSystem(std::string folder, bool boundToFolder, RefusedFiles& refused);

    bool Exists(const char* file) const override;
    Assimp::IOStream* Open(const char* file, const char* mode = "rb") override;

private:
    // Whether file may be read; records it in refused_ when not.
    bool Allows(const char* file) const;

    std::string folder_;
    bool boundToFolder_;
    RefusedFiles& refused_;
};

} // namespace vx
