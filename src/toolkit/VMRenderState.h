#pragma once
// VMRenderState: how the faces of a model pair look (the material), shared by reference count.
// The class grows with the material converters (render properties, identity).

#include "base/HeapString.h"
#include "toolkit/VMRefCounted.h"

#include <cstdint>

namespace vx {

class VMRenderState : public VMRefCounted {
public:
    // A new render state: no name, Tag 0.
    VMRenderState() = default;

    // The material's cleaned name, or a colour name for a node without material.
    HeapString name;
    // The material number the model description writer gives the state; 0 until then.
    int32_t Tag = 0;
};

} // namespace vx
