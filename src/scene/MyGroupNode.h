#pragma once
// MyGroupNode: the dummy helper that heads a host group, and the root of the export tree (whose host
// node is the scene's root node). It converts its children (see ConvertGroupNode).

#include "scene/MyGeomNode.h"

namespace vx {

class MyGroupNode : public MyGeomNode {
public:
    // Progress tick, then the group conversion with the host node's object transform at frame 0 as
    // node transform. Without host node it is reported ("GetHostNode()") and does nothing.
    void Convert(ZR::CompositeObject* target, bool single, const HostMatrix3& parent) override;
    // Converts each child into target in per-object mode with transform as the frame, in order,
    // stopping when the user cancels.
    void ConvertWithTransform(ZR::CompositeObject* target, bool single, const HostMatrix3& transform,
        const StrongNode& copy) override;
};

} // namespace vx
