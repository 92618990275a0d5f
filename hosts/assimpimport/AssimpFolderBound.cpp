#include "assimpimport/AssimpFolderBound.h"

#include <algorithm>
#include <filesystem>

namespace vx {

bool IsInsideFolder(const std::string& path, const std::string& folder)
{
    std::error_code failed;
    const std::filesystem::path file = std::filesystem::weakly_canonical(std::filesystem::absolute(path, failed), failed);
    if (failed)
        return false;
    const std::filesystem::path base = std::filesystem::weakly_canonical(std::filesystem::absolute(folder, failed), failed);
    if (failed)
        return false;
    const auto [baseEnd, fileAt] = std::mismatch(base.begin(), base.end(), file.begin(), file.end());
    return baseEnd == base.end() && fileAt != file.end();
}

std::string DescribeRefusedReference(const std::string& reference)
{
    return "the reference '" + reference
        + "' was not read: it lies outside the file's folder (--allow-outside-references reads it)";
}

FolderBoundIOSystem::FolderBoundIOSystem(std::string folder, std::vector<std::string>& refused)
    : folder_(std::move(folder))
    , refused_(refused)
{
}

bool FolderBoundIOSystem::Allows(const char* file) const
{
    if (file && IsInsideFolder(file, folder_))
        return true;
    const std::string name = file ? file : "";
    if (std::find(refused_.begin(), refused_.end(), name) == refused_.end())
        refused_.push_back(name);
    return false;
}

bool FolderBoundIOSystem::Exists(const char* file) const
{
    return Allows(file) && DefaultIOSystem::Exists(file);
}

Assimp::IOStream* FolderBoundIOSystem::Open(const char* file, const char* mode)
{
    return Allows(file) ? DefaultIOSystem::Open(file, mode) : nullptr;
}

} // namespace vx
