#pragma once
// The composite object of a geometry node, filled with the node's own geometry and its children.

#include "base/Transform.h"
#include "host/HostMath.h"

namespace ZR {
struct CompositeObject;
}

namespace vx {

class NodeProperty;
class StrongNode;

// The composite object of node (FindOrCreateComposite). ownObject: under the node's composite
// identifier when it has one (its children then merge into the object), else under a new one (its
// children become objects of their own); without ownObject under a new identifier. A new object is
// named after the node (when unnamed) and marked as made from a geometry node; when it must be
// filled from this node (and ownObject), it takes the node's meshes (placed by the normalisation
// transform, and mirrored when the node's transform mirrors) and its children converted in the
// object's frame (merged children relative to the node's unmirrored transform, children of their
// own relative to its rigid part), and it is marked from a geometry node only when there was a
// mesh. A mirrored node never shares its object through its composite identifier. Returns null
// only when the user cancelled while the children were converted (or without a current scene
// context).
ZR::CompositeObject* GetNodeComposite(StrongNode& node, bool ownObject);

// The vertex placement that normalises the geometry of a node whose object box has the extent
// hostExtent (host units and axes), in the design frame:
// - "VNXScalable": the scale (1 / (e.x f), 1 / (e.y f), 1 / (e.z f)) with e the extent in design
//   axes and f scaleFactor, so the geometry spans one unit on each axis;
// - "VNXExtrudable" only: the scale 1 / (e f) of the longest axis alone, then a quarter turn that
//   lays that axis along the design z axis (none when it is host y);
// - otherwise the identity. An axis whose extent is near zero keeps the scale 1.
Transform MakeNormalisationTransform(
    const NodeProperty& properties, const Vector3& hostExtent, float scaleFactor);

// The quarter turn of that normalisation alone (design frame): for an "VNXExtrudable" (and not
// "VNXScalable") node whose longest axis is host x or host z, the turn that lays it along the
// design z axis; the identity otherwise.
Rotation ExtrusionTurnOf(const NodeProperty& properties, const Vector3& hostExtent);

} // namespace vx
