#pragma once
// Reads the animation parts of a scene file: the scene's timeline (animation range, ticks per frame,
// the unit of key times) and the transform controllers of animated nodes.

#include "scenefile/SceneReadContext.h"

#include <string>
#include <unordered_map>

namespace vx {

// Reads the top-level "timeline" into the host and context.ticksPerTimeUnit. Must be read before
// any node's animation.
void ReadTimeline(SceneReadContext& context, const JsonAt& at);

// Reads a node's "animation" (position, rotation and scale controllers) into a transform controller
// of the host and gives it to node. local is the node's "transform": its position, rotation and
// scale drive the parts the animation leaves out. nodesById resolves the path constraint's "path".
void ReadNodeAnimation(SceneReadContext& context, const JsonAt& at, const HostMatrix3& local,
    MemoryNode& node, const std::unordered_map<std::string, MemoryNode*>& nodesById);

} // namespace vx
