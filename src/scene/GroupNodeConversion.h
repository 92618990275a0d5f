#pragma once
// The conversion of a group node (and of the tree's root) into the design.

#include "host/HostMath.h"

namespace ZR {
struct CompositeObject;
struct ObjectInstance;
} // namespace ZR

namespace vx {

class StrongNode;

// Converts the group node into target:
// - single: its children merge into target in the frame parentTransform; the group adds nothing;
// - per-object without composite identifier: its children are converted into target (the group
//   dissolves into its parent);
// - per-object with composite identifier: the group's composite object (made once per identifier,
//   named after the node, holding its children merged in the group's frame) is placed in target
//   and the instance joins the "System" group of the design root named after the scene file.
// Children stop at the user's cancellation.
void ConvertGroupNode(StrongNode& node, ZR::CompositeObject* target, bool single,
    const HostMatrix3& nodeTransform, const HostMatrix3& parentTransform);

// Puts instance into the "System" group of the design root named after the host's current scene
// file ("- no name -" for an unsaved scene). Nothing without a design root.
void AddToSystemGroup(ZR::ObjectInstance& instance);

} // namespace vx
