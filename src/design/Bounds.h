#pragma once
// Bounding boxes of composite objects: from the vertex positions of the object's model pairs (each
// placed by its pair's transform) and from the objects its instances place (placed by the
// instances' placements), recursively. A non-finite coordinate rejects the object: its box is left
// not valid and nothing of it is used.

#include "base/Vector3.h"
#include "design/Aabb.h"

#include <functional>
#include <vector>

namespace ZR {

struct CompositeObject;

using PointList = std::vector<vx::Vector3>;

// Called with an object whose box or content holds a non-finite value (the object is rejected),
// or whose instance cannot be placed (a non-finite placement, or a target reached again inside
// itself: the instance is skipped), and a short reason.
using BoundsRejectHandler = std::function<void(const CompositeObject& object, const char* reason)>;

// The object's box. A box that is not valid is computed (ComputeAabb); a valid box is enlarged to
// also hold the computed content, never shrunk. A rejected object gets a box that is not valid;
// onReject (when set) is called with it.
Aabb ComputeBounds(CompositeObject& object, const BoundsRejectHandler& onReject = {});

// Computes the box of object, whose box must not be valid ("!co->data.Aabb.valid", reported; the
// valid box is then recomputed from the content alone). Returns the box (not valid on rejection).
Aabb ComputeAabb(CompositeObject& object, const BoundsRejectHandler& onReject = {});

// Appends object's points, in the object's coordinates, to list: the eight corners of a valid box,
// otherwise the placed vertex positions of its pairs and the placed content of its instances'
// targets (their own points, whatever their boxes, so that a turned instance adds no more than
// its target holds). Each instance's own box is set as a by-product. An instance whose placement or target
// content is not finite, or whose target is already being walked (a cycle, reported), contributes
// nothing and keeps a box that is not valid. Returns false when object's own box or geometry holds
// a non-finite value (the list is then not to be used).
bool CollectPoints(CompositeObject& object, PointList& list, const BoundsRejectHandler& onReject = {});

// Sets box from the points: an empty list gives the zero box; otherwise the smallest box holding
// them. The box is valid either way.
void BoxFromPoints(Aabb& box, const PointList& list);

} // namespace ZR
