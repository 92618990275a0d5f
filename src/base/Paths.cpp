#include "base/Paths.h"

#include "base/DFile.h"

#include <cstring>

namespace vx {

namespace {

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

} // namespace

bool IsRelativePath(const char* path)
{
    if (!path)
        return true;
    return !IsSeparator(path[0]) && !std::strchr(path, ':');
}

const char* GetFileName(const char* path)
{
    if (!path)
        return nullptr;
    const char* name = path;
    for (const char* p = path; *p; ++p) {
        if (IsSeparator(*p))
            name = p + 1;
    }
    return name;
}

const char* GetExtension(const char* path)
{
    if (!path)
        return nullptr;
    const char* name = GetFileName(path);
    const char* end = name + std::strlen(name);
    const char* dot = std::strrchr(name, '.');
    if (!dot || dot + 1 == end || dot == path)
        return end;
    return dot;
}

std::string GetDirectory(const char* path)
{
    if (!path)
        return std::string();
    return std::string(path, static_cast<std::size_t>(GetFileName(path) - path));
}

std::string GetFileTitle(const char* path)
{
    if (!path)
        return std::string();
    const char* name = GetFileName(path);
    return std::string(name, static_cast<std::size_t>(GetExtension(path) - name));
}

void MakeDirectoryPath(std::string& path)
{
    if (path.empty())
        return;
    for (char& c : path) {
        if (c == '\\')
            c = '/';
    }
    if (path.back() != '/')
        path += '/';
}

bool FileExists(const char* path)
{
    DFile file;
    return file.OpenRead(path, false);
}

} // namespace vx
