#include "materials/MakeTexture.h"

#include "base/FileContent.h"
#include "base/Paths.h"
#include "host/HostBitmap.h"
#include "host/HostBitmapTexture.h"
#include "host/HostClassId.h"
#include "host/HostTexture.h"
#include "materials/CopyHostImage.h"
#include "materials/SanitizeName.h"
#include "materials/TextureTable.h"
#include "run/TextureSearchPlaces.h"
#include "toolkit/VMMessages.h"

#include <strings.h>

#include <array>
#include <string>

namespace vx {

namespace {

constexpr int RENDER_SIZE = 256;
constexpr int CUBE_PARAMETER = 10;
constexpr int FILTER_NONE = 2;
constexpr int ALPHA_SOURCE_NONE = 3;

// Where entry i of the cube map's text table goes: entries 2 and 3 are the z faces, 4 and 5 the y
// faces.
constexpr std::array<VMCubeTexture::Face, 6> kCubeFaces {VMCubeTexture::PosX, VMCubeTexture::NegX,
    VMCubeTexture::PosZ, VMCubeTexture::NegZ, VMCubeTexture::PosY, VMCubeTexture::NegY};

// Host text, with a null (a host that breaks its promise) read as empty.
const char* TextOf(const char* text)
{
    return text ? text : "";
}

bool IsPowerOfTwo(int n)
{
    return n == 0 || (n > 0 && (n & (n - 1)) == 0);
}

bool HasExtension(const char* path, std::initializer_list<const char*> extensions)
{
    const char* extension = GetExtension(path);
    for (const char* e : extensions)
        if (strcasecmp(extension, e) == 0)
            return true;
    return false;
}

// Whether a texture with the image name file at path may share the texture of entry, whose file
// name is equal ignoring case: when the later image is found nowhere, or when both are found and
// hold the same bytes.
bool MayShare(
    const TextureEntry& entry, const char* file, const char* path, const TextureSearchPlaces& places)
{
    const std::optional<std::string> later = FindTextureFile(file, path, places);
    if (!later)
        return true;
    const std::optional<std::string> earlier
        = FindTextureFile(entry.texture->name.c_str(), entry.texture->FileName.c_str(), places);
    return earlier && (*earlier == *later || SameFileContent(earlier->c_str(), later->c_str()));
}

// The texture of the first entry that has the image name file and may be shared; null when none.
VMTexture* FindShared(const char* file, const char* path)
{
    if (!*file)
        return nullptr;
    const TextureSearchPlaces places = CurrentTextureSearchPlaces();
    for (const TextureEntry& entry : CurrentTextureTable().entries) {
        if (entry.texture && strcasecmp(entry.file.c_str(), file) == 0 && MayShare(entry, file, path, places))
            return entry.texture.Get();
    }
    return nullptr;
}

// A plain texture of an image file, with what the host's bitmap tells about it. path becomes the file
// name alone when the file is not on disk and the host holds the image.
VMRef<VMTexture> MakeImageTexture(const HostBitmapTexture& host, const char* file, std::string& path)
{
    VMRef<VMTexture> texture = MakeVMRef<VMTexture>();
    const HostBitmap* bitmap = host.GetBitmap();
    if (!bitmap)
        return texture;
    if (bitmap->width > 0) {
        texture->AspectRatio = bitmap->aspect;
        if (!IsPowerOfTwo(bitmap->width) || !IsPowerOfTwo(bitmap->height))
            ReportWarning(std::string("Texture dimensions not power of 2: ") + file);
    }
    if (!FileExists(path.c_str())) {
        path = file;
        CopyHostImage(*bitmap, texture->image);
    }
    return texture;
}

// The texture of a bitmap texture (shared set when it is an earlier texture of the same image), or
// null (reported) when it names no file.
VMRef<VMTexture> MakeBitmapTexture(
    const HostBitmapTexture& host, std::string& path, std::string& file, bool& shared)
{
    path = TextOf(host.GetMapName());
    if (path.empty()) {
        ReportWarning(std::string("Texture without file: ") + TextOf(host.GetName()));
        return {};
    }
    file = GetFileName(path.c_str());
    if (VMTexture* earlier = FindShared(file.c_str(), path.c_str())) {
        shared = true;
        return VMRef<VMTexture>(earlier);
    }

    VMRef<VMTexture> texture;
    if (HasExtension(path.c_str(), {".avi", ".mpg", ".mpeg", ".asf", ".mp2", ".wmv"})) {
        texture = MakeVMRef<VMAVTexture>();
        texture->MipMaps = 1;
    } else if (HasExtension(path.c_str(), {".ifl"})) {
        auto animated = MakeVMRef<VMAnimatedTexture>();
        animated->frameTime = host.GetPlaybackRate();
        texture = animated;
        texture->MipMaps = 1;
    } else {
        texture = MakeImageTexture(host, file.c_str(), path);
    }
    texture->Filtered = host.GetFilterType() != FILTER_NONE;
    if (host.GetAlphaSource() == ALPHA_SOURCE_NONE)
        texture->AlphaQuality = 0;
    return texture;
}

// The face texture of one cube map entry: an earlier texture of the same image, or a new one entered
// into the table without host texture. Null for an empty path.
VMRef<VMTexture> MakeCubeFace(const std::string& path)
{
    const char* file = GetFileName(path.c_str());
    if (path.empty() || !*file)
        return {};
    if (VMTexture* shared = FindShared(file, path.c_str()))
        return VMRef<VMTexture>(shared);
    VMRef<VMTexture> face = MakeVMRef<VMTexture>();
    face->name = file;
    face->FileName = path;
    CurrentTextureTable().entries.push_back({nullptr, face, file});
    return face;
}

VMRef<VMTexture> MakeCubeTexture(const HostTexture& host)
{
    auto cube = MakeVMRef<VMCubeTexture>();
    for (int entry = 0; entry < int(kCubeFaces.size()); ++entry) {
        const char* text = host.GetParamText(CUBE_PARAMETER, entry);
        cube->faces[kCubeFaces[entry]] = MakeCubeFace(TextOf(text));
    }
    cube->MipMaps = 1;
    return cube;
}

// The host's rendering of a texture it cannot hand over as a file; null when it renders nothing.
VMRef<VMTexture> MakeRenderedTexture(const HostTexture& host)
{
    const HostBitmap* bitmap = host.RenderBitmap(RENDER_SIZE, RENDER_SIZE);
    if (!bitmap)
        return {};
    VMRef<VMTexture> texture = MakeVMRef<VMTexture>();
    if (!CopyHostImage(*bitmap, texture->image))
        return {};
    return texture;
}

} // namespace

VMRef<VMTexture> MakeTexture(const HostTexture* host)
{
    if (!host)
        return {};
    if (const TextureEntry* known = CurrentTextureTable().FindHost(host))
        return known->texture;

    std::string path;
    std::string file;
    VMRef<VMTexture> texture;
    const HostBitmapTexture* bitmap = host->AsBitmapTexture();
    if (bitmap) {
        bool shared = false;
        texture = MakeBitmapTexture(*bitmap, path, file, shared);
        if (shared)
            return texture;
    } else if (host->GetClassId() == kClassCubeMapTexture) {
        texture = MakeCubeTexture(*host);
    } else {
        texture = MakeRenderedTexture(*host);
    }
    if (!texture)
        return {};

    texture->name = SanitizeName(TextOf(host->GetName())).c_str();
    if (!path.empty()) {
        texture->name = file.c_str();
        texture->FileName = path;
    }
    if (VMTexture* shared = FindShared(file.c_str(), path.c_str()))
        texture = VMRef<VMTexture>(shared);
    CurrentTextureTable().entries.push_back({host, texture, file});
    return texture;
}

} // namespace vx
