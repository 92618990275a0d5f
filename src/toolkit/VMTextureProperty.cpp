#include "toolkit/VMTextureProperty.h"

namespace vx {

namespace {

constexpr int MAX_SLOTS = 256;

bool SameStage(const VMTextureStage* a, const VMTextureStage* b)
{
    if (!a || !b)
        return !a && !b;
    return a->firstModeWord == b->firstModeWord && a->secondModeWord == b->secondModeWord
        && a->CoordinateSource() == b->CoordinateSource() && SameTexture(a->texture.Get(), b->texture.Get());
}

} // namespace

bool VMTextureProperty::Equals(const VMRenderProperty& other) const
{
    if (other.Class() != CLASS)
        return false;
    const auto& o = static_cast<const VMTextureProperty&>(other);
    if (SlotCount() != o.SlotCount())
        return false;
    for (int slot = 0; slot < SlotCount(); ++slot) {
        if (!SameStage(Stage(slot), o.Stage(slot)))
            return false;
    }
    return true;
}

VMTextureStage* VMTextureProperty::Stage(int slot)
{
    if (slot < 0 || slot >= SlotCount())
        return nullptr;
    return stages_[static_cast<uint32_t>(slot)].get();
}

const VMTextureStage* VMTextureProperty::Stage(int slot) const
{
    if (slot < 0 || slot >= SlotCount())
        return nullptr;
    return stages_[static_cast<uint32_t>(slot)].get();
}

VMTextureStage* VMTextureProperty::FillStage(int slot)
{
    if (slot < 0 || slot >= MAX_SLOTS)
        return nullptr;
    if (slot >= SlotCount())
        stages_.SetCount(static_cast<std::size_t>(slot) + 1);
    std::unique_ptr<VMTextureStage>& stage = stages_[static_cast<uint32_t>(slot)];
    if (!stage)
        stage = std::make_unique<VMTextureStage>();
    return stage.get();
}

void VMTextureProperty::RemoveStage(int slot)
{
    if (slot < 0 || slot >= SlotCount())
        return;
    stages_[static_cast<uint32_t>(slot)].reset();
    std::size_t count = stages_.Count();
    while (count > 0 && !stages_[static_cast<uint32_t>(count - 1)])
        --count;
    stages_.SetCount(count);
}

} // namespace vx
