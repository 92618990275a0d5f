#pragma once
// The bounding boxes of the design, computed from the composite objects' geometry and instances.

namespace ZR {
struct CompositeObject;
}

namespace vx {

// Computes the box (Aabb) of object from its own geometry and its instances (ZR::ComputeBounds: a
// valid box only grows). An object or instance with a non-finite coordinate is rejected: the log
// gets a line naming it, and a rejected object's box is left not valid, so it is not written.
void ComputeCompositeBounds(ZR::CompositeObject& object);

} // namespace vx
