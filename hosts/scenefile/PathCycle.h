#pragma once
// Path constraints that make a node's transform depend on itself. A path-constrained node takes its
// position from its path node's world transform, which is made of the transforms of the path node
// and of every node above it. When one of those is the constrained node itself, or is itself placed
// by a path constraint that leads back to it, evaluating the transform would never end.

#include <vector>

namespace vx {

class HostNode;

// The node that node's position follows: the path node of the path constraint that is the position
// controller of node's transform controller. Null for none.
const HostNode* GetFollowedPathNode(const HostNode& node);

// A node among nodes (and the nodes their path constraints lead to) whose transform would depend on
// itself through path constraints; null when there is none. The search follows the nodes in their
// order, so the same scene always names the same node. Time and memory are linear in the nodes and
// the hierarchy levels above their path nodes (no recursion).
const HostNode* FindPathCycle(const std::vector<const HostNode*>& nodes);

} // namespace vx
