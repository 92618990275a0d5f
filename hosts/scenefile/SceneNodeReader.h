#pragma once
// Reads the node hierarchy of a scene file into the scene's root: nodes nested in "children", and
// nodes placed by a reference to their id. The result must be a tree within the depth limit.

#include "scenefile/SceneReadContext.h"

#include <string>

namespace vx {

// Reads the "nodes" array (the root's children). Objects and materials must have been read.
void ReadNodes(SceneReadContext& context, const JsonAt& at);

// A user property text: a string taken as it is, or an array of strings, each a line (joined with
// LF).
std::string ReadUserPropertyText(const SceneReadContext& context, const JsonAt& at);

} // namespace vx
