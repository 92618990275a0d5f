#include "assimpimport/AssimpFolderBound.h"

#include "base/FileContent.h"

#include <assimp/DefaultIOStream.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace vx {

namespace {

void RecordOnce(std::vector<std::string>& list, const std::string& name)
{
    if (std::find(list.begin(), list.end(), name) == list.end())
        list.push_back(name);
}

// Assimp's own stream over a FILE*, whose constructor Assimp keeps for its own file systems.
class RegularFileStream : public Assimp::DefaultIOStream {
public:
    RegularFileStream(FILE* file, const std::string& name)
        : DefaultIOStream(file, name)
    {
    }
};

// The regular file at path opened for reading; null for anything else. The open does not block
// (a FIFO without a writer would wait for one), and blocking is restored for the reads.
FILE* OpenRegularFileForReading(const char* path)
{
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat info = {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || fcntl(fd, F_SETFL, O_RDONLY) != 0) {
        close(fd);
        return nullptr;
    }
    FILE* file = fdopen(fd, "rb");
    if (!file)
        close(fd);
    return file;
}

bool IsReadMode(const char* mode)
{
    return mode && mode[0] == 'r' && !std::strchr(mode, '+');
}

} // namespace

bool IsInsideFolder(const std::string& path, const std::string& folder)
{
    std::error_code failed;
    const std::filesystem::path file
        = std::filesystem::weakly_canonical(std::filesystem::absolute(path, failed), failed);
    if (failed)
        return false;
    const std::filesystem::path base
        = std::filesystem::weakly_canonical(std::filesystem::absolute(folder, failed), failed);
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

std::string DescribeSpecialFileReference(const std::string& reference)
{
    return "the reference '" + reference + "' was not read: it is not a regular file";
}

FolderBoundIOSystem::FolderBoundIOSystem(std::string folder, bool boundToFolder, RefusedFiles& refused)
    : folder_(std::move(folder))
    , boundToFolder_(boundToFolder)
    , refused_(refused)
{
}

bool FolderBoundIOSystem::Allows(const char* file) const
{
    const std::string name = file ? file : "";
    if (boundToFolder_ && (!file || !IsInsideFolder(file, folder_))) {
        RecordOnce(refused_.outsideFolder, name);
        return false;
    }
    if (IsSpecialFileAt(file)) {
        RecordOnce(refused_.notRegular, name);
        return false;
    }
    return file != nullptr;
}

bool FolderBoundIOSystem::Exists(const char* file) const
{
    return Allows(file) && DefaultIOSystem::Exists(file);
}

Assimp::IOStream* FolderBoundIOSystem::Open(const char* file, const char* mode)
{
    if (!Allows(file))
        return nullptr;
    // The importer only reads; writing stays with Assimp's own access.
    if (!IsReadMode(mode))
        return DefaultIOSystem::Open(file, mode);
    FILE* opened = OpenRegularFileForReading(file);
    if (!opened) {
        // Changed into a special file since Allows looked: refused all the same.
        if (IsSpecialFileAt(file))
            RecordOnce(refused_.notRegular, file);
        return nullptr;
    }
    return new RegularFileStream(opened, file);
}

} // namespace vx
