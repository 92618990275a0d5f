#pragma once
// MyGeomNode: a host node with geometry (a mesh or a shape); it becomes a composite object placed by
// an instance, or merges its geometry into its target (see ConvertGeometryNode).

#include "scene/StrongNode.h"

namespace vx {

class MyGeomNode : public StrongNode {
public:
    // Progress tick, then the geometry conversion with the host node's object transform at frame 0
    // as node transform. Without host node it is reported ("GetHostNode()") and does nothing.
    void Convert(ZR::CompositeObject* target, bool single, const HostMatrix3& parent) override;
    // The geometry conversion with transform as node transform and the identity as parent; no
    // progress tick.
    void ConvertWithTransform(ZR::CompositeObject* target, bool single, const HostMatrix3& transform,
        const StrongNode& copy) override;
};

} // namespace vx
