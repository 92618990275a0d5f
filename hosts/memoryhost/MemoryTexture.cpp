#include "memoryhost/MemoryTexture.h"

#include "memoryhost/DecodeImage.h"

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

const char* MemoryTexture::GetParamText(int paramId, int index) const
{
    const auto found = paramTexts.find({paramId, index});
    return found == paramTexts.end() ? "" : found->second.c_str();
}

const HostBitmap* MemoryTexture::RenderBitmap(int width, int height) const
{
    rendered_.reset();
    if (pattern)
        rendered_ = RenderPattern(*pattern, width, height);
    if (!rendered_)
        return nullptr;
    renderedView_ = rendered_->View();
    return &renderedView_;
}

const HostBitmapTexture* MemoryTexture::AsBitmapTexture() const
{
    return classId_ == kClassBitmapTexture ? this : nullptr;
}

const HostBitmap* MemoryTexture::GetBitmap() const
{
    if (bitmap) {
        bitmapView_ = bitmap->View();
        return &bitmapView_;
    }
    if (!fileRead_) {
        fileRead_ = true;
        if (!mapName.empty())
            decoded_ = DecodeImageFile(mapName);
    }
    if (!decoded_)
        return nullptr;
    bitmapView_ = decoded_->View();
    return &bitmapView_;
}

} // namespace vx
