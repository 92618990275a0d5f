#pragma once
// VMTextureProperty: the texture stages of a render state, in numbered slots (0 base colour,
// 1 and 2 shader maps, 3 specular, 4 self-illumination, 5 bump, 6 opacity, 7 other, 8
// environment, 9 shader alpha), with a blend factor.

#include "base/Array.h"
#include "toolkit/VMRef.h"
#include "toolkit/VMRenderProperty.h"
#include "toolkit/VMTexture.h"

#include <cstdint>
#include <memory>

namespace vx {

// One filled stage slot.
struct VMTextureStage {
    VMRef<VMTexture> texture;
    // Bits 0-7: texture coordinate source; 8-11 and 12-15 the address modes; 24 mip maps; 25
    // filtering.
    uint32_t coordinateWord = 0;
    uint32_t firstModeWord = 0;
    uint32_t secondModeWord = 0;

    uint32_t CoordinateSource() const { return coordinateWord & 0xFFu; }
    // Replaces bits 24-27 of the first mode word by mode.
    void SetFirstMode(uint32_t mode) { firstModeWord = (firstModeWord & ~0x0F000000u) | ((mode & 0xFu) << 24); }
};

class VMTextureProperty : public VMRenderProperty {
public:
    static constexpr VMPropertyClass CLASS = VMPropertyClass::Texture;
    // The environment slot, whose texture coordinates are generated.
    static constexpr int ENVIRONMENT_SLOT = 8;

    VMPropertyClass Class() const override { return CLASS; }
    // Equal slot counts; slot by slot both empty, or both filled with equal mode words, equal
    // coordinate source and the same texture (SameTexture).
    bool Equals(const VMRenderProperty& other) const override;

    // The number of slots: one past the highest filled slot.
    int SlotCount() const { return static_cast<int>(stages_.Count()); }
    // The stage in slot, or null when the slot is empty or out of range.
    VMTextureStage* Stage(int slot);
    const VMTextureStage* Stage(int slot) const;
    // The stage record of slot (0 .. 255), made empty-initialised when the slot was empty. Null for
    // a slot out of range.
    VMTextureStage* FillStage(int slot);
    // Empties slot and drops trailing empty slots from the count.
    void RemoveStage(int slot);

    float factor[4] = {1.0f, 1.0f, 1.0f, 1.0f};

private:
    Array<std::unique_ptr<VMTextureStage>> stages_;
};

} // namespace vx
