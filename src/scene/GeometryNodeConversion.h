#pragma once
// The conversion of a geometry node into the design.

#include "host/HostMath.h"

namespace ZR {
struct CompositeObject;
}

namespace vx {

class StrongNode;

// Converts node (node transform, in the frame of parentTransform) into target. Marks the design
// root's box as not valid first.
// - Per-object (single false): the node's composite object (GetNodeComposite, own object) placed in
//   target by an instance; nothing when the user cancelled.
// - Single (true): the node's meshes are merged into the goal - target, or with "VNXPart" the
//   composite object of that part (made and placed in target for the first node of the part) -
//   with the node's scale in the vertices and its placement in the pairs; then the children are
//   merged into the same goal with parentTransform as their frame, stopping on cancellation.
void ConvertGeometryNode(StrongNode& node, ZR::CompositeObject* target, bool single,
    const HostMatrix3& nodeTransform, const HostMatrix3& parentTransform);

} // namespace vx
