#include "base/FileContent.h"

#include "base/DFile.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include <sys/stat.h>

namespace vx {

std::optional<std::vector<unsigned char>> ReadRegularFile(const char* path, std::size_t maxBytes)
{
    DFile file;
    if (!file.OpenRead(path, false))
        return std::nullopt;
    const int64_t size = file.GetSize();
    if (size < 0 || static_cast<uint64_t>(size) > maxBytes)
        return std::nullopt;
    std::vector<unsigned char> bytes(static_cast<std::size_t>(size));
    if (!bytes.empty() && file.Read(bytes.data(), 1, bytes.size()) != bytes.size())
        return std::nullopt;
    return bytes;
}

bool IsRegularFileAt(const char* path)
{
    struct stat info { };
    return path && ::stat(path, &info) == 0 && S_ISREG(info.st_mode);
}

bool IsSpecialFileAt(const char* path)
{
    struct stat info { };
    return path && ::stat(path, &info) == 0 && !S_ISREG(info.st_mode);
}

bool SameFileContent(const char* a, const char* b)
{
    DFile first;
    DFile second;
    if (!first.OpenRead(a, false) || !second.OpenRead(b, false))
        return false;
    const int64_t size = first.GetSize();
    if (size < 0 || size != second.GetSize())
        return false;
    constexpr std::size_t CHUNK = 64 * 1024;
    std::vector<unsigned char> left(CHUNK);
    std::vector<unsigned char> right(CHUNK);
    for (int64_t done = 0; done < size;) {
        const auto want = static_cast<std::size_t>(std::min<int64_t>(size - done, int64_t(CHUNK)));
        if (first.Read(left.data(), 1, want) != want || second.Read(right.data(), 1, want) != want)
            return false;
        if (std::memcmp(left.data(), right.data(), want) != 0)
            return false;
        done += static_cast<int64_t>(want);
    }
    return true;
}

} // namespace vx
