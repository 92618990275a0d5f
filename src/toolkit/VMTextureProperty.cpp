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

VMTextureStage* VMTextureProperty::FillStage(int slot, VMTexture* texture)
{
    const bool fresh = slot >= 0 && slot < SlotCount() ? !Stage(slot) : true;
    VMTextureStage* stage = FillStage(slot);
    if (!stage)
        return nullptr;
    if (fresh && texture) {
        stage->coordinateWord = InitialCoordinateWord(slot, *texture);
        stage->firstModeWord = InitialFirstModeWord(slot);
        stage->secondModeWord = InitialSecondModeWord(slot, *texture);
    } else if (fresh) {
        stage->firstModeWord = InitialFirstModeWord(slot);
    }
    stage->texture = VMRef<VMTexture>(texture);
    return stage;
}

uint32_t InitialCoordinateWord(int slot, const VMTexture& texture)
{
    uint32_t word = ((texture.Mode_u & 0xFu) << 8) | ((texture.Mode_v & 0xFu) << 12);
    if (slot == 0 && texture.MipMaps != 1)
        word |= 1u << 24;
    if (texture.Filtered)
        word |= 1u << 25;
    return word;
}

uint32_t InitialFirstModeWord(int slot)
{
    switch (slot) {
    case 0:
    case 1:
    case 3:
        return 0x01000200u;
    case 2:
        return 0x11000200u;
    case 4:
        return 0x02000200u;
    case 5:
        return 0x05002220u;
    default:
        return 0x07120200u;
    }
}

uint32_t InitialSecondModeWord(int slot, const VMTexture& texture)
{
    return slot == 0 && texture.AlphaQuality != 0 ? InitialFirstModeWord(slot) : 0u;
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
