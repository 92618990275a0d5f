#include "materials/TextureTable.h"

#include "materials/PerRunTable.h"

namespace vx {

namespace {

TextureTable& Table()
{
    static TextureTable table;
    return table;
}

} // namespace

const TextureEntry* TextureTable::FindHost(const HostTexture* host) const
{
    if (!host)
        return nullptr;
    for (const TextureEntry& entry : entries)
        if (entry.host == host)
            return &entry;
    return nullptr;
}

TextureTable& CurrentTextureTable()
{
    static PerRunTable hook([] { Table().Clear(); });
    hook.Touch();
    return Table();
}

} // namespace vx
