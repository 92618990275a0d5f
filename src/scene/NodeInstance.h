#pragma once
// Instances made from nodes: the placement of a composite object in its target, with the node's
// name, stretch values and user properties.

#include "base/Vector3.h"
#include "host/HostMath.h"

#include <cstdint>

namespace ZR {
struct CompositeObject;
struct ObjectInstance;
struct Placement;
} // namespace ZR

namespace vx {

class HostNode;
class StrongNode;

// Places composite in target as a new instance for node: local = nodeTransform x inverse
// (parentTransform); the instance's placement is the rigid part of local (unit rows and the
// translation in metres, design frame); it is named after the node, keeps that rigid part (host
// axes and units) as its local transform,
// is appended to composite's placedBy, gets its stretch values (SetInstanceStretch) and the node's
// user properties (CopyNodeProperties) and, when the run exports animation data, the node's
// animation (WriteAnimationData). Returns the instance; null when target cannot place
// composite (composite is target itself: reported as "compo!=this") or node has no host node.
// A copy made from node as a template (copy not null) gives the instance its own name, user
// properties and animation instead of node's.
ZR::ObjectInstance* AddInstance(ZR::CompositeObject& target, ZR::CompositeObject& composite,
    const HostMatrix3& nodeTransform, const HostMatrix3& parentTransform, const StrongNode& node,
    const StrongNode* copy = nullptr);

// The stretch values of instance for a composite of stretchType, placed with the scale factors
// scale (design order), shown by hostNode: not stretchable (neither 2 nor 0): no flags and all
// sizes 1. Otherwise the sizes are the scale factors, or at unit scale the node's box extent in design
// axes and metres; scalable (2): size flag with width, height, length = x, y, z; extrudable (0):
// length flag, width = height = 1, length = the extent along the node's longest axis (the third
// scale factor when the placement is scaled).
void SetInstanceStretch(
    int32_t stretchType, const Vector3& scale, const HostNode& hostNode, ZR::ObjectInstance& instance);

// Copies every user-property line of hostNode, split into key and value, to instance as a text
// property (type 513), in line order.
void CopyNodeProperties(HostNode& hostNode, ZR::ObjectInstance& instance);

// The design axis (0 x, 1 y, 2 z) along which a node with the host extent e is longest: design x
// when host x is strictly longest, design y (host z) when host z is longer than host y, otherwise
// design z (host y).
int LongestDesignAxis(const Vector3& hostExtent);

} // namespace vx
