#pragma once
// The animation data property: a node's animation blob stored as a Files row and named by the
// "AnimationData" property of the record that places the node.

#include "animation/AnimationContext.h"

#include <string>

namespace ZR {
struct ObjectInstance;
} // namespace ZR

namespace vx {

class HostNode;
class SqlWriter;

// The context of the key-frame export in the current run: the current exporter's host and its
// animation settings, reset first (evaluation time 0, a sample step of 5 frames, flags clear), the
// current scene context's scale factor, and node's name.
AnimationContext MakeRunAnimationContext(const HostNode& node);

// Builds node's animation and, when something is animated, writes the blob as one Files row
// (geometry luid 0, named by AnimationBlobName) through writer and sets the record's Texts entry
// ("AnimationData", 4096) to that name; the placed composite object gets the same entry unless it
// has one already. Returns the name; "" when nothing was written (no animation, no writer). A
// failing row is reported by the writer; the property is set all the same, as the writer's other
// rows are.
std::string WriteAnimationData(
    ZR::ObjectInstance& record, const HostNode& node, const AnimationContext& context, SqlWriter* writer);

// The same in the current run: the current database writer and MakeRunAnimationContext.
std::string WriteAnimationData(ZR::ObjectInstance& record, const HostNode& node);

} // namespace vx
