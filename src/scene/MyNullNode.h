#pragma once
// MyNullNode: cameras, lights and nodes that carry design-only information ("ZRSpace",
// "ZRGlobalBlock", "ZRdbBox", "ZRdbArea", "ZRIsLOD", "ZRIsFloor"). It converts nothing, nor do its
// children; its conversion is a progress tick only.

#include "scene/StrongNode.h"

namespace vx {

class MyNullNode : public StrongNode {
public:
    // Does nothing.
    void ConvertWithTransform(ZR::CompositeObject* target, bool single, const HostMatrix3& transform,
        const StrongNode& copy) override;
};

} // namespace vx
