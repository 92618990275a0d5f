#pragma once
// VMRenderProperty: one aspect of how faces look (material colours, blending, flags, wire frame,
// texture stages). A render state holds at most one property of each class; properties are
// shared by reference count.

#include "toolkit/VMRefCounted.h"

namespace vx {

enum class VMPropertyClass {
    Material,
    Alpha,
    RenderFlags,
    WireFrame,
    Texture,
};

class VMRenderProperty : public VMRefCounted {
public:
    // The property's class.
    virtual VMPropertyClass Class() const = 0;
    // Whether other is of the same class and its fields compare equal under the identity rules of
    // render states (tolerances per class).
    virtual bool Equals(const VMRenderProperty& other) const = 0;
};

} // namespace vx
