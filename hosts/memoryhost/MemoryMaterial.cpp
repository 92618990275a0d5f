#include "memoryhost/MemoryMaterial.h"

#include "base/Assert.h"

#include <algorithm>
#include <utility>

namespace vx {

MemoryMaterial::MemoryMaterial(HostClassId classId, std::string name)
    : classId_(classId)
    , name_(std::move(name))
{
}

bool MemoryMaterial::IsStandard() const
{
    return classId_ == kClassStandardMaterial || classId_ == kClassStandardMaterial2;
}

void MemoryMaterial::SetMap(int channel, MemoryMaterialMap map)
{
    if (!VX_ASSERT_TEXT(channel >= 0 && channel < kMaxMapChannels, "material map channel in 0..255"))
        return;
    if (maps.size() <= size_t(channel))
        maps.resize(size_t(channel) + 1, MemoryMaterialMap {nullptr, 1.0f, true});
    maps[channel] = map;
}

int MemoryMaterial::NumSubMtls() const
{
    return static_cast<int>(subMaterials.size());
}

HostMaterial* MemoryMaterial::GetSubMtl(int index) const
{
    if (index < 0 || size_t(index) >= subMaterials.size())
        return nullptr;
    return subMaterials[index];
}

int MemoryMaterial::NumSubTexmaps() const
{
    const int own = static_cast<int>(maps.size());
    return IsStandard() ? std::max(own, kStandardMapChannels) : own;
}

HostTexture* MemoryMaterial::GetSubTexmap(int index) const
{
    if (index < 0 || size_t(index) >= maps.size())
        return nullptr;
    return maps[index].texture;
}

const HostStandardMaterial* MemoryMaterial::AsStandardMaterial() const
{
    return IsStandard() ? this : nullptr;
}

bool MemoryMaterial::GetMapEnabled(int channel) const
{
    if (channel < 0 || size_t(channel) >= maps.size())
        return true;
    return maps[channel].enabled;
}

float MemoryMaterial::GetTexmapAmount(int channel) const
{
    if (channel < 0 || size_t(channel) >= maps.size())
        return 1.0f;
    return maps[channel].amount;
}

} // namespace vx
