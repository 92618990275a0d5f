#pragma once
// VMWireFrameProperty: the colour (with alpha) and width of a wire-frame material.

#include "toolkit/VMRenderProperty.h"

namespace vx {

class VMWireFrameProperty : public VMRenderProperty {
public:
    static constexpr VMPropertyClass CLASS = VMPropertyClass::WireFrame;

    VMPropertyClass Class() const override { return CLASS; }
    // Widths within 0.1 and the four colour components each within 0.01.
    bool Equals(const VMRenderProperty& other) const override;

    float red = 1.0f;
    float green = 1.0f;
    float blue = 1.0f;
    float alpha = 1.0f;
    float width = 1.0f;
};

} // namespace vx
