#pragma once
// MyInstanceNode: a host node with the user property "ZRInstance": it shows the composite object of
// another node (the template, its reference node) at its own placement.

#include "scene/StrongNode.h"

namespace vx {

class MyInstanceNode : public StrongNode {
public:
    // referenceNode: the template's host node (not owned; never null when the factory makes one).
    explicit MyInstanceNode(HostNode* referenceNode)
        : referenceNode_(referenceNode)
    {
    }

    // Converts the template once more at this node's placement: when the scene context's
    // referencedNodes holds a geometry or group node for the reference node, a progress tick, then
    // the template's ConvertWithTransform (target, per-object, this node's object transform at frame
    // 0 relative to parent). A missing template converts nothing. A template whose conversion is in
    // progress (this node lies inside it) converts nothing and writes the log line
    // "Failed to process referenced node with name: " + the template's name.
    void Convert(ZR::CompositeObject* target, bool single, const HostMatrix3& parent) override;

private:
    HostNode* referenceNode_;
};

} // namespace vx
