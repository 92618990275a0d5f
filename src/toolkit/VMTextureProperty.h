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
    void SetFirstMode(uint32_t mode)
    {
        firstModeWord = (firstModeWord & ~0x0F000000u) | ((mode & 0xFu) << 24);
    }
    // The mode (bits 24-27) of the first mode word.
    uint32_t FirstMode() const { return (firstModeWord >> 24) & 0xFu; }
    // Replaces bits 0-7 of the coordinate word by source.
    void SetCoordinateSource(uint32_t source)
    {
        coordinateWord = (coordinateWord & ~0xFFu) | (source & 0xFFu);
    }
};

// The coordinate word of a new stage in slot for texture: coordinate source 0, the address modes
// Mode_u and Mode_v in bits 8-11 and 12-15, bit 24 when slot is 0 and MipMaps is not 1, bit 25 when
// the texture is filtered.
uint32_t InitialCoordinateWord(int slot, const VMTexture& texture);
// The first mode word of a new stage in slot: 0x01000200 for slots 0, 1 and 3, 0x11000200 for slot
// 2, 0x02000200 for slot 4, 0x05002220 for slot 5 and 0x07120200 for slots 6 and above.
uint32_t InitialFirstModeWord(int slot);
// The second mode word of a new stage: the first mode word for slot 0 when the texture's
// AlphaQuality is not 0, otherwise 0.
uint32_t InitialSecondModeWord(int slot, const VMTexture& texture);

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
    // Fills slot (0 .. 255) with texture. A new stage record starts with the words of the slot and
    // the texture (InitialCoordinateWord, InitialFirstModeWord, InitialSecondModeWord); a filled
    // slot only changes its texture. Null for a slot out of range.
    VMTextureStage* FillStage(int slot, VMTexture* texture);
    // Empties slot and drops trailing empty slots from the count.
    void RemoveStage(int slot);

    float factor[4] = {1.0f, 1.0f, 1.0f, 1.0f};

private:
    Array<std::unique_ptr<VMTextureStage>> stages_;
};

} // namespace vx
