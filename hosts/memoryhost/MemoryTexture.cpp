#include "memoryhost/MemoryTexture.h"

#include "memoryhost/ImageHeader.h"

namespace vx {

MemoryTexture::MemoryTexture(HostClassId classId, std::string name)
    : classId_(classId)
    , name_(std::move(name))
{
}

int MemoryTexture::NumSubTexmaps() const
{
    return static_cast<int>(subTextures.size());
}

HostTexture* MemoryTexture::GetSubTexmap(int index) const
{
    if (index < 0 || size_t(index) >= subTextures.size())
        return nullptr;
    return subTextures[index];
}

std::string MemoryTexture::GetParamText(int paramId, int index) const
{
    const auto found = paramTexts.find({paramId, index});
    return found == paramTexts.end() ? std::string() : found->second;
}

std::unique_ptr<HostBitmap> MemoryTexture::RenderBitmap(int, int) const
{
    return nullptr;
}

const HostBitmapTexture* MemoryTexture::AsBitmapTexture() const
{
    return classId_ == kClassBitmapTexture ? this : nullptr;
}

const HostBitmap* MemoryTexture::GetBitmap() const
{
    if (bitmap)
        return &*bitmap;
    if (!headerRead_) {
        headerRead_ = true;
        if (!mapName.empty())
            header_ = ReadImageHeader(mapName);
    }
    return header_ ? &*header_ : nullptr;
}

} // namespace vx
