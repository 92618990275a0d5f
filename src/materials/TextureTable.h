#pragma once
// The run's texture table: every host texture converted so far with the texture made for it and its
// image file name, in conversion order. Textures whose files are the same image share one texture
// object, and so one stored image.

#include "toolkit/VMRef.h"
#include "toolkit/VMTexture.h"

#include <string>
#include <vector>

namespace vx {

class HostTexture;

struct TextureEntry {
    // The host texture; null for a cube map face made from a path alone.
    const HostTexture* host = nullptr;
    VMRef<VMTexture> texture;
    // The image's file name (no folder); empty for textures without an image file.
    std::string file;
};

struct TextureTable {
    std::vector<TextureEntry> entries;

    // The entry of host texture (searched in order), or null; null host finds nothing.
    const TextureEntry* FindHost(const HostTexture* host) const;
    void Clear() { entries.clear(); }
};

// The process-wide table, emptied with the run's other tables at the end of the conversion phase.
TextureTable& CurrentTextureTable();

} // namespace vx
