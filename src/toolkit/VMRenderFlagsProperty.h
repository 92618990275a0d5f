#pragma once
// VMRenderFlagsProperty: a word of render flags (bit 0 two-sided, 6 wire frame, 8 flat shading;
// 3, 4 and 5 as special shaders ask) and a second word that stays 0.

#include "toolkit/VMRenderProperty.h"

#include <cstdint>

namespace vx {

class VMRenderFlagsProperty : public VMRenderProperty {
public:
    static constexpr VMPropertyClass CLASS = VMPropertyClass::RenderFlags;
    static constexpr int FLAG_TWO_SIDED = 0;
    static constexpr int FLAG_WIRE = 6;
    static constexpr int FLAG_FLAT = 8;

    VMPropertyClass Class() const override { return CLASS; }
    // Both words equal.
    bool Equals(const VMRenderProperty& other) const override;

    // Sets bit n (0 .. 31; others are ignored).
    void SetFlag(int n)
    {
        if (n >= 0 && n < 32)
            flags |= 1u << n;
    }

    uint32_t flags = 0;
    uint32_t reserved = 0;
};

} // namespace vx
